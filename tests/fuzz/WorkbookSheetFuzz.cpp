#include "platform/workbook/XlsxReader.h"
#include "platform/workbook/XlsxWriter.h"
#include "platform/workbook/ZipPackage.h"

#include <pugixml.hpp>

#include <cstdlib>
#include <sstream>

using namespace platform;

namespace {

const char kRelationships[] =
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
    "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>";
const char kWorkbook[] =
    "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
    "<workbookPr date1904=\"0\"/><sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
const char kWorkbookRelationships[] =
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
    "worksheet\" Target=\"worksheets/sheet1.xml\"/>"
    "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
    "sharedStrings\" Target=\"sharedStrings.xml\"/>"
    "<Relationship Id=\"rId3\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
    "styles\" Target=\"styles.xml\"/></Relationships>";
const char kSharedStrings[] = "<sst><si><t>a_x0041_</t></si><si><r><t>b</t></r><r><t> c</t></r></si></sst>";

// Styles whose cell format 1 has the given number format code.
QByteArray Styles(const std::string& formatCode) {
  pugi::xml_document document;
  pugi::xml_node root = document.append_child("styleSheet");
  pugi::xml_node format = root.append_child("numFmts").append_child("numFmt");
  format.append_attribute("numFmtId") = 164;
  format.append_attribute("formatCode") = formatCode.c_str();
  pugi::xml_node formats = root.append_child("cellXfs");
  formats.append_child("xf").append_attribute("numFmtId") = 0;
  formats.append_child("xf").append_attribute("numFmtId") = 164;
  std::ostringstream out;
  document.save(out, "", pugi::format_raw);
  return QByteArray::fromStdString(out.str());
}

// Every stored cell shown, a row deleted and a cell written, the sheet stored again.
void Exercise(WorkbookContent* content) {
  for (const auto& sheet : content->sheets) {
    for (size_t row = 0; row < sheet->Rows().size(); ++row)
      for (const WorksheetCell& cell : sheet->Rows()[row].cells)
        (void)sheet->CellText(static_cast<int32_t>(row), cell.column);
    (void)sheet->BlankCount(0, 3);
    sheet->DeleteRow(0);
    sheet->WriteCell(2, 3, QStringLiteral("x_x0041_\x01"));
  }
}

}  // namespace

// The first line is a number format code, the rest the XML of the one sheet. Whatever the sheet
// holds, reading it stays within bounds, and a workbook that was read can be stored and read again.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t newline = input.find('\n');
  const std::string formatCode = newline == std::string::npos ? std::string() : input.substr(0, newline);
  const std::string sheet = newline == std::string::npos ? input : input.substr(newline + 1);
  QByteArray package;
  QString error;
  const std::map<QString, QByteArray> parts = {
      {QStringLiteral("_rels/.rels"), kRelationships},
      {QStringLiteral("xl/workbook.xml"), kWorkbook},
      {QStringLiteral("xl/_rels/workbook.xml.rels"), kWorkbookRelationships},
      {QStringLiteral("xl/sharedStrings.xml"), kSharedStrings},
      {QStringLiteral("xl/styles.xml"), Styles(formatCode)},
      {QStringLiteral("xl/worksheets/sheet1.xml"), QByteArray::fromStdString(sheet)},
  };
  if (!ZipPackage::Build(parts, &package, &error)) std::abort();
  WorkbookContent content;
  if (!XlsxReader::Read(package, &content, &error)) return 0;
  Exercise(&content);
  QByteArray stored;
  if (!XlsxWriter::Write(content, &stored, &error)) return 0;
  WorkbookContent again;
  if (!XlsxReader::Read(stored, &again, &error)) std::abort();
  return 0;
}
