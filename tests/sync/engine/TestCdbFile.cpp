#include "sync/engine/CdbFile.h"
#include "sync/engine/SnapshotJournal.h"
#include "tests/support/SyncInstallation.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <csignal>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

CdbEntry Entry(int32_t source, int32_t index, uint8_t fill) {
  CdbEntry entry;
  entry.recordSource = source;
  entry.recordIndex = index;
  entry.digest.fill(fill);
  return entry;
}

QList<CdbEntry> Entries(int count, uint8_t fill) {
  QList<CdbEntry> entries;
  for (int i = 0; i < count; ++i) entries.append(Entry(1, i + 1, fill));
  return entries;
}

class CdbFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString installation = synctest::PrepareInstallation();
    ASSERT_TRUE(QDir().mkpath(installation + QStringLiteral("Desktop Files/DB/CDB Files")));
  }

  QList<CdbEntry> Load(int32_t profileId) const {
    CCdbFile file;
    file.SetCdbFileName(profileId);
    QList<CdbEntry> entries = {Entry(0, 0, 0)};  // loading appends
    const int32_t count = file.LoadCdbRecords(&entries);
    EXPECT_EQ(count, entries.size() - 1);
    return entries.mid(1);
  }
};

}  // namespace

TEST_F(CdbFileTest, EntriesAreWrittenAndLoadedInTheirOrderAndLayout) {
  CCdbFile file;
  file.SetCdbFileName(7);
  EXPECT_TRUE(file.Path().endsWith(QStringLiteral("Desktop Files/DB/CDB Files/cdb_7.bin")));
  const QList<CdbEntry> entries = {Entry(1, 2, 0xAB), Entry(1, 3, 0xAB), Entry(-4, 0x01020304, 0x11)};
  ASSERT_TRUE(file.WriteCdbRecords(entries));

  QFile raw(file.Path());
  ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
  const QByteArray bytes = raw.readAll();
  ASSERT_EQ(bytes.size(), 3 * 72);
  EXPECT_EQ(bytes.mid(144, 8).toHex(), QByteArray("fcffffff04030201"));
  EXPECT_EQ(bytes.mid(152, 64), QByteArray(64, '\x11'));

  EXPECT_EQ(Load(7), entries) << "identical digests keep their own entries and order";
}

TEST_F(CdbFileTest, RewritesReplaceTheWholeSnapshotButNeverBringBackADeletedOne) {
  CCdbFile file;
  file.SetCdbFileName(0);
  EXPECT_FALSE(file.WriteCdbVector(Entries(2, 1))) << "a snapshot that is gone stays gone";
  EXPECT_FALSE(QFile::exists(file.Path()));
  ASSERT_TRUE(file.WriteCdbRecords(Entries(5, 1)));
  ASSERT_TRUE(file.WriteCdbVector(Entries(2, 2)));
  EXPECT_EQ(Load(0), Entries(2, 2));
  ASSERT_TRUE(file.WriteCdbVector({}));
  EXPECT_EQ(QFile(file.Path()).size(), 0);
  EXPECT_TRUE(Load(0).isEmpty());
}

TEST_F(CdbFileTest, NamesCarrySignedProfileNumbersAndAMissingFileLoadsEmpty) {
  CCdbFile file;
  file.SetCdbFileName(-3);
  EXPECT_TRUE(file.Path().endsWith(QStringLiteral("/cdb_-3.bin")));
  EXPECT_TRUE(Load(-3).isEmpty());
}

TEST_F(CdbFileTest, APartialLastEntryIsLeftOutAndLogged) {
  CCdbFile file;
  file.SetCdbFileName(9);
  ASSERT_TRUE(file.WriteCdbRecords(Entries(2, 3)));
  QFile raw(file.Path());
  ASSERT_TRUE(raw.open(QIODevice::Append));
  raw.write(QByteArray(30, '\x7f'));
  raw.close();
  EXPECT_EQ(Load(9), Entries(2, 3));
  EXPECT_TRUE(synctest::ReadLog(QStringLiteral("SyncServiceLog.log")).contains(QStringLiteral("30 bytes of a partial entry")));
}

// A writer killed at any moment leaves one whole snapshot, the old or the new, never a torn one.
TEST_F(CdbFileTest, AKilledWriterLeavesAWholeSnapshot) {
  CCdbFile file;
  file.SetCdbFileName(4);
  ASSERT_TRUE(file.WriteCdbRecords(Entries(1000, 1)));
  const pid_t writer = fork();
  ASSERT_GE(writer, 0);
  if (writer == 0) {
    for (uint8_t round = 2;; round = static_cast<uint8_t>(round % 200 + 2)) file.WriteCdbVector(Entries(3000, round));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  kill(writer, SIGKILL);
  waitpid(writer, nullptr, 0);
  const QList<CdbEntry> entries = Load(4);
  ASSERT_TRUE(entries.size() == 1000 || entries.size() == 3000) << entries.size();
  for (const CdbEntry& entry : entries) ASSERT_EQ(entry.digest, entries.front().digest);
}

// The journal beside the snapshot: changes appended at once, the snapshot written once later.
TEST_F(CdbFileTest, TheJournalIsAppliedOnLoadUpToATornLastRecord) {
  CCdbFile file;
  file.SetCdbFileName(9);
  ASSERT_TRUE(file.WriteCdbRecords({Entry(1, 1, 0x01), Entry(1, 2, 0x02), Entry(1, 3, 0x03)}));
  const SnapshotJournal journal = file.Journal();
  ASSERT_TRUE(journal.Append({{SnapshotChange::kAdd, CdbEntry::InDoubt(1, 4)}, {SnapshotChange::kRemove, Entry(1, 2, 0)}}));
  ASSERT_TRUE(journal.Append({{SnapshotChange::kSetDigest, Entry(1, 4, 0x04)}, {SnapshotChange::kSetDigest, Entry(1, 1, 0x11)}}));
  const QList<CdbEntry> applied = {Entry(1, 1, 0x11), Entry(1, 3, 0x03), Entry(1, 4, 0x04)};
  EXPECT_EQ(Load(9), applied);

  // A crash in the middle of an append leaves part of a record: it is left out, and what is
  // appended after it is read.
  const QByteArray torn = SnapshotJournal::Record({{SnapshotChange::kRemove, Entry(1, 3, 0)}}).chopped(5);
  QFile raw(journal.Path());
  ASSERT_TRUE(raw.open(QIODevice::Append));
  raw.write(torn);
  raw.close();
  EXPECT_EQ(Load(9), applied);
  ASSERT_TRUE(journal.Append({{SnapshotChange::kAdd, Entry(5, 1, 0x05)}}));
  EXPECT_EQ(Load(9), applied + QList<CdbEntry>{Entry(5, 1, 0x05)});

  // Written whole, the snapshot holds it all and the journal is gone.
  ASSERT_TRUE(file.FoldJournal());
  EXPECT_FALSE(journal.Exists());
  EXPECT_EQ(Load(9), applied + QList<CdbEntry>{Entry(5, 1, 0x05)});
}

TEST_F(CdbFileTest, AJournalAppliedTwiceGivesWhatItGaveOnce) {
  // A crash between writing the snapshot whole and removing the journal applies it again.
  const QList<SnapshotChange> changes = {{SnapshotChange::kAdd, CdbEntry::InDoubt(1, 7)},
                                         {SnapshotChange::kSetDigest, Entry(1, 7, 0x07)},
                                         {SnapshotChange::kRemove, Entry(1, 1, 0)},
                                         {SnapshotChange::kAdd, Entry(3, 9, 0x09)},
                                         {SnapshotChange::kAdd, CdbEntry::InDoubt(1, 8)},
                                         {SnapshotChange::kRemove, CdbEntry::InDoubt(1, 8)}};
  QList<CdbEntry> once = {Entry(1, 1, 0x01), Entry(1, 2, 0x02)};
  SnapshotJournal::Apply(changes, &once);
  EXPECT_EQ(once, QList<CdbEntry>({Entry(1, 2, 0x02), Entry(1, 7, 0x07), Entry(3, 9, 0x09)}));
  QList<CdbEntry> twice = once;
  SnapshotJournal::Apply(changes, &twice);
  EXPECT_EQ(twice, once);
  EXPECT_TRUE(CdbEntry::InDoubt(1, 8).IsInDoubt());
  EXPECT_FALSE(Entry(1, 8, 0x01).IsInDoubt());
}

TEST_F(CdbFileTest, RemovingTheSnapshotTakesItsJournalAndDeliveryNote) {
  CCdbFile file;
  file.SetCdbFileName(11);
  ASSERT_TRUE(file.WriteCdbRecords({Entry(1, 1, 0x01)}));
  ASSERT_TRUE(file.Journal().Append({{SnapshotChange::kAdd, Entry(1, 2, 0x02)}}));
  ASSERT_TRUE(file.NoteDeliveryStarted());
  EXPECT_TRUE(file.DeliveryWasCutShort());
  file.Remove();
  EXPECT_FALSE(QFile::exists(file.Path()));
  EXPECT_FALSE(file.Journal().Exists());
  EXPECT_FALSE(file.DeliveryWasCutShort());
  EXPECT_TRUE(Load(11).isEmpty());
}
