#include "platform/standin/SchemaIniReader.h"
#include "platform/standin/TextFileTable.h"

#include <gtest/gtest.h>

namespace {

using platform::ReadTextFileTable;
using platform::SchemaIniReader;
using platform::StandInTable;
using platform::StandInType;
using platform::TextCharset;
using platform::TextFileFormat;

TextFileFormat Csv(bool header = true) { return {header, u',', std::nullopt}; }

StandInTable Read(const QByteArray& bytes, const TextFileFormat& format) {
  StandInTable table;
  QString error;
  EXPECT_TRUE(ReadTextFileTable(QStringLiteral("t.csv"), bytes, format, &table, &error)) << qPrintable(error);
  return table;
}

QString ReadError(const QByteArray& bytes, const TextFileFormat& format) {
  StandInTable table;
  QString error;
  EXPECT_FALSE(ReadTextFileTable(QStringLiteral("t.csv"), bytes, format, &table, &error));
  return error;
}

TEST(TextFileTable, RecordsAndFieldsFollowRfc4180) {
  const StandInTable table = Read("a,b,c\r\n"
                                  "\"x,1\",\"say \"\"hi\"\"\",\"two\r\nlines\"\n"
                                  "\n"
                                  "\"q\"tail,,\r"
                                  "last,\"\",z",
                                  Csv());
  EXPECT_EQ(table.name, QStringLiteral("t.csv"));
  EXPECT_EQ(table.columns, QStringList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
  ASSERT_EQ(table.rows.size(), 3);
  EXPECT_EQ(table.rows[0],
            QStringList({QStringLiteral("x,1"), QStringLiteral("say \"hi\""), QStringLiteral("two\r\nlines")}));
  EXPECT_EQ(table.rows[1], QStringList({QStringLiteral("qtail"), QString(), QString()}));
  EXPECT_TRUE(table.rows[1][1].isNull());
  EXPECT_EQ(table.rows[2], QStringList({QStringLiteral("last"), QString(), QStringLiteral("z")}));
}

TEST(TextFileTable, ShortRowsGetNullsAndUnnamedColumnsGetDriverNames) {
  const StandInTable named = Read("id,,id\n1\n", Csv());
  EXPECT_EQ(named.columns, QStringList({QStringLiteral("id"), QStringLiteral("F2"), QStringLiteral("F3")}));
  EXPECT_EQ(named.rows, QList<QStringList>({{QStringLiteral("1"), QString(), QString()}}));
  const StandInTable headless = Read("1\n2,3,4\n", Csv(false));
  EXPECT_EQ(headless.columns, QStringList({QStringLiteral("F1"), QStringLiteral("F2"), QStringLiteral("F3")}));
  EXPECT_EQ(headless.rows.size(), 2);
  EXPECT_EQ(headless.rows[0].size(), 3);
}

TEST(TextFileTable, ColumnsAreTypedByEveryValue) {
  struct Case {
    const char* values;  // one column, one value per line
    StandInType type;
  };
  const Case cases[] = {
      {"1\n-2\n+3\n0\n", StandInType::Integer},
      {"1\n2.5\n-1e3\n.5\n", StandInType::Double},
      {"2147483647\n-2147483648\n", StandInType::Integer},
      {"2147483648\n", StandInType::Double},
      {"123456789012345\n", StandInType::Double},
      {"12345678901234567890\n", StandInType::Text},
      {"0.1234567890123456\n", StandInType::Text},
      {"007\n", StandInType::Text},
      {"1\n 2\n", StandInType::Text},
      {"1,5\n", StandInType::Text},
      {"01/31/2024\n", StandInType::Text},
      {"nan\n", StandInType::Text},
      {"\"\"\n", StandInType::Text},
  };
  for (const Case& test : cases) {
    const StandInTable table = Read(QByteArray("v\n") + test.values, {true, u'\t', std::nullopt});
    ASSERT_EQ(table.types.size(), 1);
    EXPECT_EQ(table.types[0], test.type) << test.values;
  }
}

TEST(TextFileTable, CharacterSetsAndByteOrderMarks) {
  EXPECT_EQ(Read("v\n\x80\x93\x81\xE9\n", Csv()).rows[0][0], QStringLiteral("\u20AC\u201C\u0081\u00E9"));
  EXPECT_EQ(Read("v\n\x80\n", {true, u',', TextCharset::Latin1}).rows[0][0], QStringLiteral("\u0080"));
  EXPECT_EQ(Read("\xEF\xBB\xBFv\n\xE2\x82\xAC\n", Csv()).rows[0][0], QStringLiteral("\u20AC"));
  EXPECT_EQ(Read(QByteArray("\xFF\xFEv\0\n\0\xAC\x20\n\0", 10), Csv()).columns, QStringList{QStringLiteral("v")});
  EXPECT_EQ(Read(QByteArray("v\0\n\0\x3D\xD8\x00\xDE\n\0", 10), {true, u',', TextCharset::Utf16Le}).rows[0][0],
            QStringLiteral("\U0001F600"));
}

TEST(TextFileTable, DamageIsAnErrorThatSaysWhere) {
  struct Case {
    QByteArray bytes;
    TextFileFormat format;
    const char* expected;
  };
  const Case cases[] = {
      {"a,b\n1,2\n1,2,3\n", Csv(), "line 3 holds 3 fields, but the first line names 2 columns"},
      {"a\n1\n\"open\n\n", Csv(), "quoted field that starts on line 3 is never closed"},
      {"a\n\xC3\n", {true, u',', TextCharset::Utf8}, "not valid UTF-8"},
      {QByteArray("a\0\n", 3), {true, u',', TextCharset::Utf16Le}, "odd number of bytes"},
      {QByteArray("a\0\n\0\x00\xDC\n\0", 8), {true, u',', TextCharset::Utf16Le}, "broken UTF-16 character at byte 4"},
      {QByteArray("a\n\0\n", 4), Csv(), "zero character"},
  };
  for (const Case& test : cases) {
    const QString error = ReadError(test.bytes, test.format);
    EXPECT_TRUE(error.startsWith(u"The text file t.csv cannot be read: ")) << qPrintable(error);
    EXPECT_TRUE(error.contains(QString::fromLatin1(test.expected))) << qPrintable(error);
  }
}

TEST(SchemaIniReader, SectionsOfTheExportAndOfHandWrittenFiles) {
  QByteArray utf16;
  for (const char character : QByteArray("[New_A.txt]\r\nColNameHeader=False\r\nFormat=TabDelimited\r\n"
                                         "CharacterSet=Unicode\r\n\n")) {
    utf16 += QByteArray(1, character) + QByteArray(1, '\0');
  }
  SchemaIniReader schema;
  QString error;
  ASSERT_TRUE(SchemaIniReader::Parse(utf16, &schema, &error)) << qPrintable(error);
  TextFileFormat format;
  ASSERT_TRUE(schema.FormatOf(QStringLiteral("new_a.TXT"), &format, &error));
  EXPECT_FALSE(format.columnNamesInFirstRow);
  EXPECT_EQ(format.delimiter, u'\t');
  EXPECT_EQ(format.charset, TextCharset::Utf16Le);
  ASSERT_TRUE(schema.FormatOf(QStringLiteral("other.csv"), &format, &error));
  EXPECT_TRUE(format.columnNamesInFirstRow);
  EXPECT_EQ(format.delimiter, u',');
  EXPECT_FALSE(format.charset.has_value());

  ASSERT_TRUE(SchemaIniReader::Parse("; comment\n[b.csv]\nFormat=Delimited(|)\nCol1=x Text\nCharacterSet=1252\n",
                                     &schema, &error));
  ASSERT_TRUE(schema.FormatOf(QStringLiteral("b.csv"), &format, &error));
  EXPECT_EQ(format.delimiter, u'|');
  EXPECT_EQ(format.charset, TextCharset::Ansi);
}

TEST(SchemaIniReader, MalformedLinesAndUnknownValuesAreRefused) {
  SchemaIniReader schema;
  QString error;
  EXPECT_FALSE(SchemaIniReader::Parse("Format=CSVDelimited\n[a.csv]\n", &schema, &error));
  EXPECT_TRUE(error.contains(u"line 1")) << qPrintable(error);
  EXPECT_FALSE(SchemaIniReader::Parse("[a.csv]\n[b.csv\n", &schema, &error));
  EXPECT_TRUE(error.contains(u"line 2")) << qPrintable(error);
  for (const char* entry : {"ColNameHeader=Yes", "Format=FixedLength", "Format=Delimited(\")", "Format=Delimited(ab)",
                            "CharacterSet=OEM"}) {
    ASSERT_TRUE(SchemaIniReader::Parse(QByteArray("[a.csv]\n") + entry + '\n', &schema, &error));
    TextFileFormat format;
    EXPECT_FALSE(schema.FormatOf(QStringLiteral("a.csv"), &format, &error)) << entry;
    EXPECT_TRUE(error.contains(QString::fromLatin1(entry))) << qPrintable(error);
  }
}

}  // namespace
