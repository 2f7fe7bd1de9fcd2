#pragma once

#include <xlsxwriter.h>

#include <QString>

namespace testsupport {

// A workbook file written by libxlsxwriter, a writer independent of the model under test. The
// test fills the sheets through libxlsxwriter's own calls; Close() writes the file.
class XlsxFixture {
 public:
  explicit XlsxFixture(const QString& path);
  ~XlsxFixture();
  XlsxFixture(const XlsxFixture&) = delete;
  XlsxFixture& operator=(const XlsxFixture&) = delete;

  lxw_workbook* Book() const { return book_; }
  lxw_worksheet* AddSheet(const char* name) const;
  // A cell format with the given number format code.
  lxw_format* NumberFormat(const char* code) const;
  bool Close();

 private:
  lxw_workbook* book_;
};

// Writes an .xls file with Debian's Python and its xlwt, for the tests of the .xls reader.
// `cells` is a Python expression: a list of (sheet name, [(row, column, value, number format or None), ...]);
// values that are datetime objects need a date format. False when it could not be written.
bool WriteXlsFixture(const QString& path, const QString& cells);

}  // namespace testsupport
