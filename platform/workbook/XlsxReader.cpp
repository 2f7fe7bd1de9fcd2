#include "platform/workbook/XlsxReader.h"

#include "platform/workbook/CellReference.h"
#include "platform/workbook/NumberFormat.h"
#include "platform/workbook/SerialDateTime.h"
#include "platform/workbook/XlsxXml.h"
#include "platform/workbook/ZipPackage.h"

#include <QDateTime>
#include <QLocale>

#include <map>

namespace platform {
namespace {

struct Relationship {
  QString type;
  QString part;
};

bool EndsWith(const QString& type, const char16_t* suffix) { return type.endsWith(QStringView(suffix)); }

bool ParseNumber(const char* text, double* value) {
  bool ok = false;
  *value = QLocale::c().toDouble(QString::fromLatin1(text).trimmed(), &ok);
  return ok;
}

bool ParseIndex(const char* text, int64_t limit, int64_t* value) {
  bool ok = false;
  *value = QByteArrayView(text).trimmed().toLongLong(&ok);
  return ok && *value >= 0 && *value <= limit;
}

class PackageReader {
 public:
  PackageReader(WorkbookContent* content, QString* error) : content_(content), error_(error) {}

  bool Run(const QByteArray& bytes) {
    if (!package_.Open(bytes, error_))
      return Fail(QStringLiteral("the package is damaged or no zip file (%1)").arg(*error_));
    content_->package = bytes;
    QString workbookPart;
    if (!FindWorkbookPart(&workbookPart)) return false;
    std::map<QString, Relationship> relationships;
    pugi::xml_document workbook;
    return ReadRelationships(workbookPart, &relationships) && LoadPart(workbookPart, &workbook) &&
           ReadSharedStrings(relationships) && ReadStyles(relationships) &&
           ReadSheets(workbook, relationships);
  }

 private:
  bool Fail(const QString& text) {
    *error_ = text;
    return false;
  }

  bool LoadPart(const QString& part, pugi::xml_document* document) {
    QByteArray bytes;
    return package_.Read(part, &bytes, error_) && LoadXmlPart(bytes, part, document, error_);
  }

  bool FindWorkbookPart(QString* workbookPart) {
    std::map<QString, Relationship> relationships;
    if (!ReadRelationships(QString(), &relationships)) return false;
    for (const auto& [id, relationship] : relationships) {
      if (!EndsWith(relationship.type, u"/officeDocument")) continue;
      if (relationship.part.endsWith(QStringLiteral(".bin"), Qt::CaseInsensitive))
        return Fail(QStringLiteral("the binary workbook format (.xlsb) is not supported"));
      *workbookPart = relationship.part;
      return true;
    }
    return Fail(QStringLiteral("the package holds no workbook"));
  }

  // The relationships of a part (of the package itself for an empty name), by id.
  bool ReadRelationships(const QString& part, std::map<QString, Relationship>* relationships) {
    const QString relsPart = part.isEmpty() ? QStringLiteral("_rels/.rels") : RelationshipsPartOf(part);
    pugi::xml_document document;
    if (!LoadPart(relsPart, &document)) return false;
    const QString folder = part.left(part.lastIndexOf(u'/') + 1);
    for (const pugi::xml_node node : ChildNamed(document, "Relationships").children()) {
      if (!HasLocalName(node, "Relationship")) continue;
      const QString target = TextOf(node.attribute("Target").value());
      const bool external = TextOf(node.attribute("TargetMode").value()) == u"External";
      (*relationships)[TextOf(node.attribute("Id").value())] = {
          TextOf(node.attribute("Type").value()), external ? QString() : ResolvePartName(folder, target)};
    }
    return true;
  }

  const Relationship* FindByType(const std::map<QString, Relationship>& relationships,
                                 const char16_t* suffix) {
    for (const auto& [id, relationship] : relationships)
      if (EndsWith(relationship.type, suffix) && !relationship.part.isEmpty()) return &relationship;
    return nullptr;
  }

  bool ReadSharedStrings(const std::map<QString, Relationship>& relationships) {
    const Relationship* strings = FindByType(relationships, u"/sharedStrings");
    if (strings == nullptr) return true;
    pugi::xml_document document;
    if (!LoadPart(strings->part, &document)) return false;
    for (const pugi::xml_node item : ChildNamed(document, "sst").children())
      if (HasLocalName(item, "si")) sharedStrings_.push_back(StringItemText(item));
    return true;
  }

  bool ReadStyles(const std::map<QString, Relationship>& relationships) {
    const Relationship* styles = FindByType(relationships, u"/styles");
    if (styles == nullptr) return true;
    pugi::xml_document document;
    if (!LoadPart(styles->part, &document)) return false;
    const pugi::xml_node root = ChildNamed(document, "styleSheet");
    std::map<int64_t, QString> custom;
    for (const pugi::xml_node format : ChildNamed(root, "numFmts").children())
      custom[format.attribute("numFmtId").as_llong()] = TextOf(format.attribute("formatCode").value());
    for (const pugi::xml_node xf : ChildNamed(root, "cellXfs").children()) {
      if (!HasLocalName(xf, "xf")) continue;
      const int64_t id = xf.attribute("numFmtId").as_llong();
      const auto found = custom.find(id);
      content_->styles.formats.push_back(found != custom.end() ? found->second
                                                               : BuiltInNumberFormat(static_cast<int>(id)));
    }
    return true;
  }

  bool ReadSheets(const pugi::xml_document& workbook, const std::map<QString, Relationship>& relationships) {
    const pugi::xml_node root = ChildNamed(workbook, "workbook");
    const QString date1904 = TextOf(ChildNamed(root, "workbookPr").attribute("date1904").value());
    content_->styles.date1904 = date1904 == u"1" || date1904 == u"true";
    for (const pugi::xml_node sheet : ChildNamed(root, "sheets").children()) {
      if (!HasLocalName(sheet, "sheet")) continue;
      const auto found = relationships.find(TextOf(AttributeNamed(sheet, "id", true).value()));
      if (found == relationships.end()) return Fail(QStringLiteral("a sheet has no part"));
      if (!EndsWith(found->second.type, u"/worksheet")) continue;  // chart and dialog sheets
      const QString name = TextOf(sheet.attribute("name").value());
      if (!IsAllowedSheetName(name))
        return Fail(QStringLiteral("the sheet name \"%1\" is not allowed").arg(name));
      if (!ReadSheet(name, found->second.part)) return false;
    }
    return true;
  }

  bool ReadSheet(const QString& name, const QString& part);

  ZipPackage package_;
  WorkbookContent* content_;
  QString* error_;
  std::vector<QString> sharedStrings_;
};

// The cells of one sheet part, in the order they are stored.
class SheetReader {
 public:
  SheetReader(const std::vector<QString>& sharedStrings, Worksheet* sheet, QString* error)
      : sharedStrings_(sharedStrings), sheet_(sheet), error_(error) {}

  bool Run(const pugi::xml_document& document) {
    const pugi::xml_node data = ChildNamed(ChildNamed(document, "worksheet"), "sheetData");
    for (const pugi::xml_node row : data.children()) {
      if (!HasLocalName(row, "row")) continue;
      if (!ReadRow(row)) return false;
      ++rowIndex_;
    }
    return true;
  }

 private:
  bool Fail(const QString& text) {
    *error_ = QStringLiteral("sheet \"%1\": %2").arg(sheet_->Name(), text);
    return false;
  }

  bool ReadRow(const pugi::xml_node& row) {
    const pugi::xml_attribute number = row.attribute("r");
    int64_t rowNumber = row_ + 2;  // a row without a number follows the one before
    if (number && !ParseIndex(number.value(), kSheetRowLimit, &rowNumber))
      return Fail(QStringLiteral("row number \"%1\" is beyond the sheet").arg(TextOf(number.value())));
    if (rowNumber < 1) return Fail(QStringLiteral("row number 0"));
    row_ = static_cast<int32_t>(rowNumber - 1);
    column_ = -1;
    for (const pugi::xml_node cell : row.children()) {
      if (!HasLocalName(cell, "c")) continue;
      if (!ReadCell(cell)) return false;
      ++cellIndex_;
    }
    return true;
  }

  bool Place(const pugi::xml_node& cell, int32_t* row) {
    const pugi::xml_attribute reference = cell.attribute("r");
    *row = row_;
    if (!reference) {
      if (++column_ >= kSheetColumnLimit)
        return Fail(QStringLiteral("a row holds more cells than a sheet has columns"));
      return true;
    }
    if (!ParseCellReference(TextOf(reference.value()), row, &column_))
      return Fail(
          QStringLiteral("cell reference \"%1\" is no cell of a sheet").arg(TextOf(reference.value())));
    return true;
  }

  bool ReadCell(const pugi::xml_node& node) {
    WorksheetCell cell;
    int32_t row = 0;
    if (!Place(node, &row)) return false;
    cell.column = column_;
    cell.sourceIndex = cellIndex_;
    int64_t style = 0;
    const pugi::xml_attribute styleAttribute = node.attribute("s");
    if (styleAttribute && !ParseIndex(styleAttribute.value(), UINT32_MAX, &style))
      return Fail(QStringLiteral("cell %1 has a bad format index").arg(CellReference(row, column_)));
    cell.style = static_cast<uint32_t>(style);
    if (!ReadValue(node, &cell)) return false;
    if (!sheet_->AddCell(row, rowIndex_, cell))
      return Fail(QStringLiteral("cell %1 is given twice").arg(CellReference(row, column_)));
    return true;
  }

  bool BadValue(const WorksheetCell& cell) {
    return Fail(QStringLiteral("cell %1 holds a value that does not fit its type")
                    .arg(CellReference(row_, cell.column)));
  }

  bool ReadValue(const pugi::xml_node& node, WorksheetCell* cell) {
    const QByteArray type = node.attribute("t").value();
    const pugi::xml_node value = ChildNamed(node, "v");
    if (type == "inlineStr") {
      cell->kind = WorksheetCell::Kind::Text;
      cell->text = StringItemText(ChildNamed(node, "is"));
      return true;
    }
    if (!value) return true;  // formatting only
    const char* text = value.child_value();
    if (type == "s") return SharedString(text, cell);
    if (type == "str" || type == "e") {
      cell->kind = type == "e" ? WorksheetCell::Kind::Error : WorksheetCell::Kind::Text;
      cell->text = TextOf(text);
      return true;
    }
    if (type == "d") return IsoDate(text, cell);
    cell->kind = type == "b" ? WorksheetCell::Kind::Boolean : WorksheetCell::Kind::Number;
    if (type != "b" && !type.isEmpty() && type != "n") return BadValue(*cell);
    return ParseNumber(text, &cell->number) || BadValue(*cell);
  }

  bool SharedString(const char* text, WorksheetCell* cell) {
    int64_t index = 0;
    if (!ParseIndex(text, static_cast<int64_t>(sharedStrings_.size()) - 1, &index))
      return Fail(QStringLiteral("cell %1 names shared string %2, which does not exist")
                      .arg(CellReference(row_, cell->column), TextOf(text)));
    cell->kind = WorksheetCell::Kind::Text;
    cell->text = sharedStrings_[static_cast<size_t>(index)];
    return true;
  }

  bool IsoDate(const char* text, WorksheetCell* cell) {
    const QDateTime moment = QDateTime::fromString(TextOf(text).trimmed(), Qt::ISODateWithMs);
    if (!moment.isValid()) return BadValue(*cell);
    cell->kind = WorksheetCell::Kind::Number;
    cell->number = SerialOfDateTime(moment.date(), moment.time().msecsSinceStartOfDay() / 1000);
    return true;
  }

  const std::vector<QString>& sharedStrings_;
  Worksheet* sheet_;
  QString* error_;
  int32_t row_ = -1;
  int32_t column_ = -1;
  int32_t rowIndex_ = 0;
  int32_t cellIndex_ = 0;
};

bool PackageReader::ReadSheet(const QString& name, const QString& part) {
  QByteArray bytes;
  pugi::xml_document document;
  if (!package_.Read(part, &bytes, error_) || !LoadXmlPart(bytes, part, &document, error_)) return false;
  auto sheet = std::make_unique<Worksheet>(name, &content_->styles);
  if (!SheetReader(sharedStrings_, sheet.get(), error_).Run(document)) return false;
  content_->sheets.push_back(std::move(sheet));
  content_->sheetParts.push_back(part);
  content_->sheetXml.push_back(bytes);
  return true;
}

}  // namespace

bool XlsxReader::Read(const QByteArray& package, WorkbookContent* content, QString* error) {
  return PackageReader(content, error).Run(package);
}

}  // namespace platform
