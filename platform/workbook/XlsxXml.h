#pragma once

#include <QByteArray>
#include <QString>

#include <pugixml.hpp>

namespace platform {

// Helpers over the XML parts of a workbook package, which may prefix their element names
// ("x:row") or not.

// Parses a part; false with a text naming the part and the fault when it is no XML.
bool LoadXmlPart(const QByteArray& content, const QString& partName, pugi::xml_document* document,
                 QString* error);

bool HasLocalName(const pugi::xml_node& node, const char* localName);
pugi::xml_node ChildNamed(const pugi::xml_node& node, const char* localName);
// An attribute by its local name ("r:id" as "id" when `prefixed`).
pugi::xml_attribute AttributeNamed(const pugi::xml_node& node, const char* localName, bool prefixed);

QString TextOf(const pugi::char_t* value);
// The text of a string item (<si>, <is>): its <t>, or the <t> of each run, without phonetic
// runs; "_x000D_"-style escapes decoded.
QString StringItemText(const pugi::xml_node& item);
// The escapes a stored text needs so that StringItemText gives it back.
QByteArray EscapeStoredText(const QString& text);

// The part a relationship target names, from the folder of the part that holds the
// relationship ("xl/"): "worksheets/sheet1.xml" → "xl/worksheets/sheet1.xml", "/xl/a.xml" →
// "xl/a.xml", "../b.xml" → "b.xml".
QString ResolvePartName(const QString& folder, const QString& target);
// The relationships part of a part: "xl/workbook.xml" → "xl/_rels/workbook.xml.rels".
QString RelationshipsPartOf(const QString& partName);

}  // namespace platform
