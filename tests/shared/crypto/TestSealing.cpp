#include "shared/crypto/Sealing.h"

#include <gtest/gtest.h>

TEST(Sealing, PadsToTheNextMultipleOfSixteenStrictlyAbove) {
  const struct {
    int plain;
    int sealed;
  } cases[] = {{0, 16}, {1, 16}, {15, 16}, {16, 32}, {264, 272}, {452, 464}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.plain);
    const QByteArray plain(c.plain, 'p');
    const QByteArray padded = AllocPaddedBuffer(plain);
    EXPECT_EQ(padded, plain + QByteArray(c.sealed - c.plain, '\0'));

    const QByteArray sealed = EncryptSetting(plain);
    EXPECT_EQ(sealed.size(), c.sealed);
    EXPECT_EQ(DecryptSetting(sealed), padded);
  }
}

// The seal must stay what the other programs of the system use, or their stored records become
// unreadable. The expected bytes were made with another AES implementation.
TEST(Sealing, KeepsTheBuiltInKeyAndIv) {
  EXPECT_EQ(EncryptSetting(QByteArray()).toHex(), "46582c8334cf62999d6be6b28f8e70d0");
  EXPECT_EQ(EncryptSetting("Tarnwick").toHex(), "48f70c84caf1c03a08fedfcda61fea01");
  EXPECT_EQ(DecryptSetting(QByteArray::fromHex("46582c8334cf62999d6be6b28f8e70d0")),
            QByteArray(16, '\0'));  // an empty text
}

TEST(Sealing, UnsealingALargerBufferKeepsTheRecordsBlocks) {
  QByteArray record(452, '\0');
  for (int i = 0; i < record.size(); ++i) record[i] = static_cast<char>(i * 7 + 1);
  QByteArray buffer = EncryptSetting(record);
  buffer.append(QByteArray(1024 - buffer.size(), '\x5C'));

  const std::optional<QByteArray> plain = DecryptSetting(buffer);
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->size(), 1024);
  EXPECT_EQ(plain->left(464), AllocPaddedBuffer(record));
}

TEST(Sealing, RefusesAValueThatIsNotWholeBlocks) {
  const QByteArray sealed = EncryptSetting(QByteArray(264, 'x'));
  EXPECT_FALSE(DecryptSetting(sealed.left(271)));
  EXPECT_FALSE(DecryptSetting(sealed + 'x'));
  EXPECT_EQ(DecryptSetting(QByteArray()), QByteArray());
}
