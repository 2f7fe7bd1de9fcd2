#include "sync/engine/ProfileMetadata.h"

#include <gtest/gtest.h>

using namespace profilemetadata;

namespace {

QByteArray Utf16WithZero(const QString& text) {
  QByteArray bytes(reinterpret_cast<const char*>(text.utf16()), 2 * text.size());
  return bytes + QByteArray(2, '\0');
}

Column MakeColumn(int16_t kind, int32_t size, int16_t digits, const QString& name) {
  Column column;
  column.kind = kind;
  column.size = size;
  column.decimalDigits = digits;
  column.name = name;
  return column;
}

}  // namespace

TEST(ProfileMetadata, HeaderOfTheOrdersProfile) {
  const QByteArray header = BuildDeviceDBHeader(QStringLiteral("Orders"), QStringLiteral("MainMemory"), 0, 0x01020304);
  ASSERT_EQ(header.size(), kHeaderSize);
  EXPECT_EQ(header.left(14), Utf16WithZero(QStringLiteral("Orders")));
  EXPECT_EQ(header.mid(14, 50), QByteArray(50, '\0'));
  EXPECT_EQ(header.mid(64).toHex(),
            QByteArray("0000" "0000" "01020304" "01020304" "00000000" "00000000" "00000070" "00000000"
                       "4d4f5256" "54574b4c" "00000000" "00000000" "00000000"));
  EXPECT_EQ(BuildDeviceDBHeader(QStringLiteral("Orders"), QStringLiteral("mainmemory"), 1, 0).mid(64, 4).toHex(),
            QByteArray("00010001")) << "a view, and any other destination than MainMemory exactly";
  EXPECT_EQ(BuildDeviceDBHeader(QString(), QString(), 2, 0).mid(64, 2).toHex(), QByteArray("0002"));
}

TEST(ProfileMetadata, ALongNameIsCutToThirtyOneUnitsAndKeepsItsZero) {
  const QByteArray header = BuildDeviceDBHeader(QString(40, QLatin1Char('x')), QString(), 0, 0);
  EXPECT_EQ(header.left(64), Utf16WithZero(QString(31, QLatin1Char('x'))));
  EXPECT_EQ(header.size(), kHeaderSize);
}

TEST(ProfileMetadata, LayoutListsOnlySupportedColumnsAndKeysPointAmongThem) {
  const QList<Column> columns = {MakeColumn(1, 50, 0, QStringLiteral("Name")), MakeColumn(0, 16, 0, QStringLiteral("Photo")),
                                 MakeColumn(4, 10, 0, QStringLiteral("Id"))};
  const auto layout = BuildColumnLayoutBlock(columns);
  ASSERT_TRUE(layout);
  const QByteArray expected = QByteArray::fromHex("0002" "0006" "0016" "0001" "0032" "0000") +
                              Utf16WithZero(QStringLiteral("Name")) + QByteArray::fromHex("0004" "000a" "0000") +
                              Utf16WithZero(QStringLiteral("Id"));
  EXPECT_EQ(layout->toHex(), expected.toHex());
  EXPECT_EQ(BuildColumnIndexBlock(SupportedPositions(columns, {2})).toHex(), QByteArray("00010001"));
  EXPECT_EQ(BuildColumnIndexBlock(SupportedPositions(columns, {1, 7, -1})).toHex(), QByteArray("0000"))
      << "keys on unsupported or absent columns are left out";
}

TEST(ProfileMetadata, DecimalsWithoutASizeAreSentWithThirtyEight) {
  const auto sized = BuildColumnLayoutBlock({MakeColumn(2, 10, 2, QStringLiteral("A"))});
  const auto unsized = BuildColumnLayoutBlock({MakeColumn(2, 0, 0, QStringLiteral("A"))});
  ASSERT_TRUE(sized && unsized);
  EXPECT_EQ(sized->mid(4, 6).toHex(), QByteArray("0002000a0002"));
  EXPECT_EQ(unsized->mid(4, 6).toHex(), QByteArray("000200260000"));
  EXPECT_EQ(BuildColumnLayoutBlock({MakeColumn(-7, 1, 0, QStringLiteral("B"))})->mid(4, 2).toHex(), QByteArray("fff9"));
}

TEST(ProfileMetadata, SortBlocksAreReadWithinTheirText) {
  struct Case {
    const char* what;
    QString text;
    QByteArray hex;
  };
  const Case cases[] = {
      {"no sort", QStringLiteral("0#"), "00020000"},
      {"empty text", QString(), "00020000"},
      {"Name descending", QStringLiteral("1#4#Name#1#12#"),
       "00120001" "000a" + Utf16WithZero(QStringLiteral("Name")).toHex() + "0001000c"},
      {"a name holding #", QStringLiteral("1#3#a#b#0#4#"), "00100001" "0008" + Utf16WithZero(QStringLiteral("a#b")).toHex() + "00000004"},
      {"count beyond the text", QStringLiteral("2#1#x#0#4#"),
       "00140002" "0004" + Utf16WithZero(QStringLiteral("x")).toHex() + "00000004" "0002" "0000" "0000" "0000"},
      {"length beyond the text", QStringLiteral("1#9#ab"), "000e0001" "0006" + Utf16WithZero(QStringLiteral("ab")).toHex() + "00000000"},
      {"not digits", QStringLiteral("x#"), "00020000"},
  };
  for (const Case& c : cases) {
    const auto block = BuildSortColumnsBlock(c.text);
    ASSERT_TRUE(block) << c.what;
    EXPECT_EQ(block->toHex(), c.hex) << c.what;
  }
  EXPECT_FALSE(BuildSortColumnsBlock(QStringLiteral("2000000000#"))) << "a count no 16-bit length can hold";
}

TEST(ProfileMetadata, TheMessageFramesItsPartsAndRefusesWhatItsLengthCannotHold) {
  const QByteArray header(kHeaderSize, 'h');
  const auto message = AssembleAddProfile(5, header, QByteArray("LL"), QByteArray("SSSS"), QByteArray("\0\0", 2), QByteArray("\0\0", 2));
  ASSERT_TRUE(message);
  EXPECT_EQ(message->size(), 2 + 4 + 2 + 2 + 122);
  EXPECT_EQ(message->left(8).toHex(), QByteArray("0100") + QByteArray("8000") + QByteArray("00000005"));
  EXPECT_EQ(message->mid(120, 4), QByteArray::fromHex("0002") + "LL");
  EXPECT_FALSE(AssembleAddProfile(5, header, QByteArray(65500, 'x'), QByteArray(2, '\0'), QByteArray(2, '\0'), QByteArray(2, '\0')));
}
