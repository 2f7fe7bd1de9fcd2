#include "platform/workbook/XlsxWriter.h"

#include "platform/workbook/NumberFormat.h"
#include "platform/workbook/SheetXmlWriter.h"
#include "platform/workbook/ZipPackage.h"

#include <pugixml.hpp>

#include <map>

namespace platform {
namespace {

constexpr char kMainNamespace[] = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr char kRelationshipTypes[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr char kPackageRelationships[] = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr char kSheetContentType[] =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";
constexpr int kFirstCustomFormat = 164;

struct StringWriter : pugi::xml_writer {
  QByteArray bytes;
  void write(const void* data, size_t size) override {
    bytes.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
  }
};

QByteArray Serialized(const pugi::xml_document& document) {
  StringWriter writer;
  document.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
  return writer.bytes;
}

pugi::xml_node Root(pugi::xml_document* document, const char* name, const char* ns) {
  pugi::xml_node declaration = document->append_child(pugi::node_declaration);
  declaration.append_attribute("version") = "1.0";
  declaration.append_attribute("encoding") = "UTF-8";
  declaration.append_attribute("standalone") = "yes";
  pugi::xml_node root = document->append_child(name);
  root.append_attribute("xmlns") = ns;
  return root;
}

QString SheetPart(size_t index) { return QStringLiteral("xl/worksheets/sheet%1.xml").arg(index + 1); }

QByteArray ContentTypes(size_t sheets) {
  pugi::xml_document document;
  pugi::xml_node types =
      Root(&document, "Types", "http://schemas.openxmlformats.org/package/2006/content-types");
  const auto add = [&types](const char* kind, const char* key, const std::string& value, const char* type) {
    pugi::xml_node node = types.append_child(kind);
    node.append_attribute(key) = value.c_str();
    node.append_attribute("ContentType") = type;
  };
  add("Default", "Extension", "rels", "application/vnd.openxmlformats-package.relationships+xml");
  add("Default", "Extension", "xml", "application/xml");
  add("Override", "PartName", "/xl/workbook.xml",
      "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml");
  add("Override", "PartName", "/xl/styles.xml",
      "application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml");
  for (size_t i = 0; i < sheets; ++i)
    add("Override", "PartName", (u'/' + SheetPart(i)).toStdString(), kSheetContentType);
  return Serialized(document);
}

void AddRelationship(pugi::xml_node relationships, const std::string& id, const std::string& type,
                     const std::string& target) {
  pugi::xml_node node = relationships.append_child("Relationship");
  node.append_attribute("Id") = id.c_str();
  node.append_attribute("Type") = (std::string(kRelationshipTypes) + "/" + type).c_str();
  node.append_attribute("Target") = target.c_str();
}

QByteArray PackageRelationships() {
  pugi::xml_document document;
  AddRelationship(Root(&document, "Relationships", kPackageRelationships), "rId1", "officeDocument",
                  "xl/workbook.xml");
  return Serialized(document);
}

QByteArray WorkbookRelationships(size_t sheets) {
  pugi::xml_document document;
  pugi::xml_node root = Root(&document, "Relationships", kPackageRelationships);
  for (size_t i = 0; i < sheets; ++i)
    AddRelationship(root, "rId" + std::to_string(i + 1), "worksheet",
                    "worksheets/sheet" + std::to_string(i + 1) + ".xml");
  AddRelationship(root, "rId" + std::to_string(sheets + 1), "styles", "styles.xml");
  return Serialized(document);
}

QByteArray WorkbookPart(const WorkbookContent& content) {
  pugi::xml_document document;
  pugi::xml_node root = Root(&document, "workbook", kMainNamespace);
  root.append_attribute("xmlns:r") = kRelationshipTypes;
  if (content.styles.date1904) root.append_child("workbookPr").append_attribute("date1904") = "1";
  pugi::xml_node sheets = root.append_child("sheets");
  for (size_t i = 0; i < content.sheets.size(); ++i) {
    pugi::xml_node sheet = sheets.append_child("sheet");
    sheet.append_attribute("name") = content.sheets[i]->Name().toStdString().c_str();
    sheet.append_attribute("sheetId") = static_cast<unsigned>(i + 1);
    sheet.append_attribute("r:id") = ("rId" + std::to_string(i + 1)).c_str();
  }
  return Serialized(document);
}

// The number format id of a format code: its built-in id, or a custom id declared in `custom`.
int FormatId(const QString& code, pugi::xml_node custom, int* nextCustom) {
  for (int id = 0; id < kFirstCustomFormat; ++id)
    if (BuiltInNumberFormat(id) == code && (id == 0 || code != u"General")) return id;
  pugi::xml_node format = custom.append_child("numFmt");
  format.append_attribute("numFmtId") = *nextCustom;
  format.append_attribute("formatCode") = code.toStdString().c_str();
  return (*nextCustom)++;
}

QByteArray StylesPart(const WorkbookStyles& styles) {
  pugi::xml_document document;
  pugi::xml_node root = Root(&document, "styleSheet", kMainNamespace);
  pugi::xml_node custom = root.append_child("numFmts");
  root.append_child("fonts").append_child("font").append_child("sz").append_attribute("val") = 11;
  pugi::xml_node fills = root.append_child("fills");
  fills.append_child("fill").append_child("patternFill").append_attribute("patternType") = "none";
  fills.append_child("fill").append_child("patternFill").append_attribute("patternType") = "gray125";
  root.append_child("borders").append_child("border");
  root.append_child("cellStyleXfs").append_child("xf").append_attribute("numFmtId") = 0;
  pugi::xml_node cellFormats = root.append_child("cellXfs");
  int nextCustom = kFirstCustomFormat;
  for (const QString& code : styles.formats) {
    pugi::xml_node xf = cellFormats.append_child("xf");
    xf.append_attribute("numFmtId") = FormatId(code, custom, &nextCustom);
    xf.append_attribute("applyNumberFormat") = 1;
  }
  if (!custom.first_child()) root.remove_child(custom);
  return Serialized(document);
}

bool BuildPackage(const WorkbookContent& content, QByteArray* package, QString* error) {
  std::map<QString, QByteArray> parts = {
      {QStringLiteral("[Content_Types].xml"), ContentTypes(content.sheets.size())},
      {QStringLiteral("_rels/.rels"), PackageRelationships()},
      {QStringLiteral("xl/workbook.xml"), WorkbookPart(content)},
      {QStringLiteral("xl/_rels/workbook.xml.rels"), WorkbookRelationships(content.sheets.size())},
      {QStringLiteral("xl/styles.xml"), StylesPart(content.styles)},
  };
  for (size_t i = 0; i < content.sheets.size(); ++i)
    if (!WriteSheetXml({}, *content.sheets[i], &parts[SheetPart(i)], error)) return false;
  return ZipPackage::Build(parts, package, error);
}

bool RewritePackage(const WorkbookContent& content, QByteArray* package, QString* error) {
  std::map<QString, QByteArray> parts;
  for (size_t i = 0; i < content.sheets.size(); ++i)
    if (content.sheets[i]->Modified() &&
        !WriteSheetXml(content.sheetXml[i], *content.sheets[i], &parts[content.sheetParts[i]], error))
      return false;
  if (parts.empty()) {
    *package = content.package;
    return true;
  }
  return ZipPackage::Rewrite(content.package, parts, package, error);
}

}  // namespace

bool XlsxWriter::Write(const WorkbookContent& content, QByteArray* package, QString* error) {
  return content.package.isEmpty() ? BuildPackage(content, package, error)
                                   : RewritePackage(content, package, error);
}

}  // namespace platform
