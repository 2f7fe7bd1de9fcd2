#include "platform/workbook/SheetXmlWriter.h"

#include "platform/workbook/CellReference.h"
#include "platform/workbook/XlsxXml.h"

#include <QLocale>

#include <string>
#include <vector>

namespace platform {
namespace {

constexpr char kEmptySheet[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
    "<dimension ref=\"A1\"/><sheetData/></worksheet>";

struct StringWriter : pugi::xml_writer {
  QByteArray bytes;
  void write(const void* data, size_t size) override {
    bytes.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
  }
};

std::string Utf8(const QString& text) { return text.toStdString(); }

// The rows and cells of the stored sheet data, numbered as the reader numbered them.
struct StoredNodes {
  std::vector<pugi::xml_node> rows;
  std::vector<pugi::xml_node> cells;
};

StoredNodes CollectStored(const pugi::xml_node& sheetData) {
  StoredNodes stored;
  for (const pugi::xml_node row : sheetData.children()) {
    if (!HasLocalName(row, "row")) continue;
    stored.rows.push_back(row);
    for (const pugi::xml_node cell : row.children())
      if (HasLocalName(cell, "c")) stored.cells.push_back(cell);
  }
  return stored;
}

class SheetDataWriter {
 public:
  SheetDataWriter(const StoredNodes& stored, std::string prefix)
      : stored_(stored), prefix_(std::move(prefix)) {}

  void Run(const Worksheet& sheet, pugi::xml_node data) {
    const auto& rows = sheet.Rows();
    for (size_t index = 0; index < rows.size(); ++index) {
      const WorksheetRow& row = rows[index];
      if (row.cells.empty() && row.sourceIndex < 0) continue;
      WriteRow(row, static_cast<int32_t>(index), data.append_child(Name("row").c_str()));
    }
  }

 private:
  std::string Name(const char* local) const { return prefix_ + local; }

  void WriteRow(const WorksheetRow& row, int32_t index, pugi::xml_node node) {
    node.append_attribute("r") = Utf8(QString::number(index + 1)).c_str();
    if (row.sourceIndex >= 0 && static_cast<size_t>(row.sourceIndex) < stored_.rows.size())
      for (const pugi::xml_attribute attribute :
           stored_.rows[static_cast<size_t>(row.sourceIndex)].attributes())
        if (std::string(attribute.name()) != "r" && std::string(attribute.name()) != "spans")
          node.append_attribute(attribute.name()) = attribute.value();
    for (const WorksheetCell& cell : row.cells) WriteCell(cell, index, node);
  }

  void WriteCell(const WorksheetCell& cell, int32_t row, pugi::xml_node rowNode) {
    const std::string reference = Utf8(CellReference(row, cell.column));
    if (cell.sourceIndex >= 0 && static_cast<size_t>(cell.sourceIndex) < stored_.cells.size()) {
      pugi::xml_node copy = rowNode.append_copy(stored_.cells[static_cast<size_t>(cell.sourceIndex)]);
      (copy.attribute("r") ? copy.attribute("r") : copy.append_attribute("r")) = reference.c_str();
      return;
    }
    pugi::xml_node node = rowNode.append_child(Name("c").c_str());
    node.append_attribute("r") = reference.c_str();
    if (cell.style != 0) node.append_attribute("s") = cell.style;
    WriteValue(cell, node);
  }

  void WriteValue(const WorksheetCell& cell, pugi::xml_node node) {
    switch (cell.kind) {
      case WorksheetCell::Kind::Blank: return;
      case WorksheetCell::Kind::Text: {
        node.append_attribute("t") = "inlineStr";
        pugi::xml_node text = node.append_child(Name("is").c_str()).append_child(Name("t").c_str());
        text.append_attribute("xml:space") = "preserve";
        text.text() = EscapeStoredText(cell.text).constData();
        return;
      }
      case WorksheetCell::Kind::Error:
        node.append_attribute("t") = "e";
        node.append_child(Name("v").c_str()).text() = Utf8(cell.text).c_str();
        return;
      case WorksheetCell::Kind::Boolean:
        node.append_attribute("t") = "b";
        node.append_child(Name("v").c_str()).text() = cell.number != 0 ? "1" : "0";
        return;
      case WorksheetCell::Kind::Number:
        node.append_child(Name("v").c_str()).text() =
            Utf8(QLocale::c().toString(cell.number, 'g', 17)).c_str();
        return;
    }
  }

  const StoredNodes& stored_;
  std::string prefix_;
};

// "A1:C4" with its rows after one row was deleted; false when nothing of the range is left.
bool ShiftRange(const QString& range, int32_t deleted, QString* shifted) {
  const QStringList corners = range.split(u':');
  int32_t firstRow = 0, firstColumn = 0, lastRow = 0, lastColumn = 0;
  if (corners.size() != 2 || !ParseCellReference(corners[0], &firstRow, &firstColumn) ||
      !ParseCellReference(corners[1], &lastRow, &lastColumn)) {
    *shifted = range;
    return true;
  }
  if (deleted < firstRow) --firstRow;
  if (deleted <= lastRow) --lastRow;
  if (lastRow < firstRow || (lastRow == firstRow && lastColumn == firstColumn)) return false;
  *shifted = CellReference(firstRow, firstColumn) + u':' + CellReference(lastRow, lastColumn);
  return true;
}

void ShiftMergedRanges(pugi::xml_node worksheet, const std::vector<int32_t>& deletedRows) {
  pugi::xml_node merges = ChildNamed(worksheet, "mergeCells");
  if (!merges || deletedRows.empty()) return;
  std::vector<pugi::xml_node> gone;
  for (pugi::xml_node merge : merges.children()) {
    QString range = TextOf(merge.attribute("ref").value());
    bool kept = true;
    for (const int32_t row : deletedRows) kept = kept && ShiftRange(range, row, &range);
    if (kept)
      merge.attribute("ref") = Utf8(range).c_str();
    else
      gone.push_back(merge);
  }
  for (const pugi::xml_node merge : gone) merges.remove_child(merge);
  if (merges.first_child()) {
    if (merges.attribute("count"))
      merges.attribute("count") = static_cast<unsigned>(std::distance(merges.begin(), merges.end()));
  } else {
    worksheet.remove_child(merges);
  }
}

void SetDimension(pugi::xml_node worksheet, const Worksheet& sheet) {
  pugi::xml_node dimension = ChildNamed(worksheet, "dimension");
  if (!dimension) return;
  const bool empty = sheet.RowCount() == 0;
  const QString last = empty ? QString() : CellReference(sheet.RowCount() - 1, sheet.ColumnCount() - 1);
  const QString ref = empty || last == u"A1" ? QStringLiteral("A1") : QStringLiteral("A1:") + last;
  (dimension.attribute("ref") ? dimension.attribute("ref") : dimension.append_attribute("ref")) =
      Utf8(ref).c_str();
}

}  // namespace

bool WriteSheetXml(const QByteArray& stored, const Worksheet& sheet, QByteArray* result, QString* error) {
  const QByteArray source = stored.isEmpty() ? QByteArray(kEmptySheet) : stored;
  pugi::xml_document document;
  const pugi::xml_parse_result parsed =
      document.load_buffer(source.constData(), static_cast<size_t>(source.size()),
                           pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single);
  pugi::xml_node worksheet = ChildNamed(document, "worksheet");
  const pugi::xml_node data = ChildNamed(worksheet, "sheetData");
  if (!parsed || !data) {
    *error = QStringLiteral("the sheet \"%1\" cannot be stored again").arg(sheet.Name());
    return false;
  }
  const std::string dataName = data.name();
  const StoredNodes nodes = CollectStored(data);
  pugi::xml_node newData = worksheet.insert_child_after(dataName.c_str(), data);
  SheetDataWriter(nodes, dataName.substr(0, dataName.size() - std::string("sheetData").size()))
      .Run(sheet, newData);
  worksheet.remove_child(data);
  SetDimension(worksheet, sheet);
  ShiftMergedRanges(worksheet, sheet.DeletedRows());
  StringWriter writer;
  document.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
  *result = writer.bytes;
  return true;
}

}  // namespace platform
