#include "shared/devicerecord/SheetRowRecord.h"

#include "platform/workbook/WorkbookStyles.h"
#include "platform/workbook/Worksheet.h"

#include <gtest/gtest.h>

namespace {

QByteArray Hex(const char* hex) { return QByteArray::fromHex(hex); }

}  // namespace

// Sheet rows carry each cell's text as shown: tabs and line breaks stay, unlike the texts of
// database rows, and only the unit limit cuts them.
TEST(SheetRowRecord, CellTextsTravelAsShownUpToTheUnitLimit) {
  const platform::WorkbookStyles styles;
  platform::Worksheet sheet(QStringLiteral("People"), &styles);
  ASSERT_TRUE(sheet.WriteCell(0, 0, QStringLiteral("a\tb")));
  ASSERT_TRUE(sheet.WriteCell(0, 2, QStringLiteral("x\r\ny")));
  ASSERT_TRUE(sheet.WriteCell(1, 0, QStringLiteral("abcdef")));
  struct Case {
    const char* what;
    int32_t row;
    int16_t columns;
    qsizetype maxUnits;
    const char* bytes;
  };
  const Case cases[] = {
      {"tab, empty cell, CR LF", 0, 3, 100,
       "0006" "000e" "0010" "6100090062000000" "0000" "78000d000a0079000000"},
      {"cut at the limit", 1, 1, 4, "0002" "61006200630064000000"},
      {"no columns", 0, 0, 100, ""},
  };
  for (const Case& c : cases) {
    QByteArray record("left over from an earlier row");
    const int length = devicerecord::EncodeSheetRow(sheet, c.row, c.columns, c.maxUnits, &record);
    EXPECT_EQ(record.toHex(), Hex(c.bytes).toHex()) << c.what;
    EXPECT_EQ(length, record.size()) << c.what;
  }
}
