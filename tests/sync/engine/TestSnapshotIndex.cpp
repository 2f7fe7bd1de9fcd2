#include "sync/data/RowDigest.h"
#include "sync/engine/ChangeItem.h"
#include "sync/engine/SnapshotIndex.h"

#include <gtest/gtest.h>

namespace {

CdbEntry Entry(int32_t index, uint8_t digestByte) {
  CdbEntry entry;
  entry.recordSource = 1;
  entry.recordIndex = index;
  entry.digest.fill(digestByte);
  return entry;
}

SnapshotIndex::Digest DigestOf(uint8_t byte) {
  SnapshotIndex::Digest digest;
  digest.fill(byte);
  return digest;
}

QStringList UnmatchedKeys(SnapshotIndex& index, QList<int32_t>* indexes = nullptr) {
  QStringList keys;
  index.ForEachUnmatched([&](const CdbEntry& entry, const QString& key) {
    keys.append(key);
    if (indexes) indexes->append(entry.recordIndex);
  });
  return keys;
}

TEST(SnapshotIndex, EntriesOfOneDigestAreTakenInLoadOrderAndTheRestKeepTheirSuffixedKeys) {
  SnapshotIndex index({Entry(1, 0xbb), Entry(2, 0xbb), Entry(3, 0xbb), Entry(4, 0xaa)});
  const CdbEntry* first = index.Match(DigestOf(0xbb));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->recordIndex, 1);
  EXPECT_FALSE(index.AllMatched());

  QList<int32_t> indexes;
  const QString bb = DigestToHex(DigestOf(0xbb).data());
  EXPECT_EQ(UnmatchedKeys(index, &indexes),
            QStringList({DigestToHex(DigestOf(0xaa).data()), bb + QStringLiteral("_1"), bb + QStringLiteral("_2")}));
  EXPECT_EQ(indexes, QList<int32_t>({4, 2, 3}));

  EXPECT_EQ(index.Match(DigestOf(0xbb))->recordIndex, 2);
  EXPECT_EQ(index.Match(DigestOf(0xbb))->recordIndex, 3);
  EXPECT_EQ(index.Match(DigestOf(0xbb)), nullptr) << "a fourth identical row is new";
  EXPECT_EQ(index.Match(DigestOf(0xcc)), nullptr);
  EXPECT_EQ(index.Match(DigestOf(0xaa))->recordIndex, 4);
  EXPECT_TRUE(index.AllMatched());
  EXPECT_TRUE(UnmatchedKeys(index).isEmpty());
}

// Rows in snapshot order are taken one after the other; the first row out of order must find the
// same entries the table would have given from the start.
TEST(SnapshotIndex, RowsOutOfOrderAfterRowsInOrderTakeTheSameEntries) {
  SnapshotIndex index({Entry(1, 0xaa), Entry(2, 0xbb), Entry(3, 0xaa), Entry(4, 0xcc), Entry(5, 0xbb)});
  EXPECT_EQ(index.Match(DigestOf(0xaa))->recordIndex, 1);
  EXPECT_EQ(index.Match(DigestOf(0xbb))->recordIndex, 2);
  EXPECT_EQ(index.Match(DigestOf(0xcc))->recordIndex, 4) << "out of order";
  EXPECT_EQ(index.Match(DigestOf(0xbb))->recordIndex, 5);
  EXPECT_EQ(index.Match(DigestOf(0xbb)), nullptr);
  QList<int32_t> indexes;
  EXPECT_EQ(UnmatchedKeys(index, &indexes), QStringList({DigestToHex(DigestOf(0xaa).data()) + QStringLiteral("_1")}));
  EXPECT_EQ(indexes, QList<int32_t>({3}));
  EXPECT_EQ(index.Match(DigestOf(0xaa))->recordIndex, 3);
  EXPECT_TRUE(index.AllMatched());
}

TEST(SnapshotIndex, SuffixesFollowTextOrder) {
  QList<CdbEntry> entries;
  for (int32_t i = 0; i < 11; ++i) entries.append(Entry(i, 0x01));
  SnapshotIndex index(entries);
  const QString hex = DigestToHex(DigestOf(0x01).data());
  const QStringList keys = UnmatchedKeys(index);
  ASSERT_EQ(keys.size(), 11);
  EXPECT_EQ(keys.at(0), hex);
  EXPECT_EQ(keys.at(1), hex + QStringLiteral("_1"));
  EXPECT_EQ(keys.at(2), hex + QStringLiteral("_10"));
  EXPECT_EQ(keys.at(3), hex + QStringLiteral("_2"));
}

// Whatever the sending has reached, the snapshot names what the devices hold.
TEST(ProfileChanges, TheDeviceSnapshotHoldsAcceptedAdditionsAndDeletionsNotYetAccepted) {
  ProfileChanges changes;
  changes.loaded = {Entry(2, 0x02), Entry(1, 0x01)};
  changes.kept = {1};
  const auto item = [](ChangeItem::Kind kind, int32_t index, ChangeItem::State state) {
    ChangeItem change;
    change.kind = kind;
    change.entry = Entry(index, static_cast<uint8_t>(index));
    change.state = state;
    return change;
  };
  changes.items = {item(ChangeItem::kAdded, 10, ChangeItem::kAccepted), item(ChangeItem::kAdded, 11, ChangeItem::kInBunch),
                   item(ChangeItem::kAdded, 12, ChangeItem::kNotSent), item(ChangeItem::kDeleted, 20, ChangeItem::kAccepted),
                   item(ChangeItem::kDeleted, 21, ChangeItem::kInBunch), item(ChangeItem::kDeleted, 22, ChangeItem::kNotSent)};
  QList<int32_t> indexes;
  for (const CdbEntry& entry : changes.DeviceSnapshot()) indexes.append(entry.recordIndex);
  EXPECT_EQ(indexes, QList<int32_t>({1, 10, 21, 22}));
}

}  // namespace
