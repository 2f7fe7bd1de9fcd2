#include "tests/support/XlsxFixture.h"

#include <QProcess>

namespace testsupport {

XlsxFixture::XlsxFixture(const QString& path) : book_(workbook_new(path.toUtf8().constData())) {}

XlsxFixture::~XlsxFixture() {
  if (book_ != nullptr) workbook_close(book_);
}

lxw_worksheet* XlsxFixture::AddSheet(const char* name) const { return workbook_add_worksheet(book_, name); }

lxw_format* XlsxFixture::NumberFormat(const char* code) const {
  lxw_format* format = workbook_add_format(book_);
  format_set_num_format(format, code);
  return format;
}

bool XlsxFixture::Close() {
  const lxw_error result = workbook_close(book_);
  book_ = nullptr;
  return result == LXW_NO_ERROR;
}

bool WriteXlsFixture(const QString& path, const QString& cells) {
  const QString script =
      QStringLiteral(
          "import sys, datetime, xlwt\n"
          "book = xlwt.Workbook()\n"
          "for name, cells in %1:\n"
          "    sheet = book.add_sheet(name)\n"
          "    for row, column, value, code in cells:\n"
          "        style = xlwt.easyxf(num_format_str=code) if code else xlwt.Style.default_style\n"
          "        sheet.write(row, column, value, style)\n"
          "book.save(sys.argv[1])\n")
          .arg(cells);
  QProcess python;
  python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, path});
  return python.waitForFinished(60000) && python.exitStatus() == QProcess::NormalExit &&
         python.exitCode() == 0;
}

}  // namespace testsupport
