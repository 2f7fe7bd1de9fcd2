#include "platform/workbook/XlsxXml.h"

#include <QStringList>

#include <cstring>

namespace platform {
namespace {

const char* LocalPart(const char* name) {
  const char* colon = std::strrchr(name, ':');
  return colon == nullptr ? name : colon + 1;
}

bool IsHexDigit(QChar c) {
  return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// "_xHHHH_" at `at`: the character it stands for, or none.
bool EscapeAt(const QString& text, qsizetype at, QChar* character) {
  if (at + 7 > text.size() || text[at] != u'_' || text[at + 1] != u'x' || text[at + 6] != u'_') return false;
  for (qsizetype i = at + 2; i < at + 6; ++i)
    if (!IsHexDigit(text[i])) return false;
  *character = QChar(static_cast<char16_t>(text.mid(at + 2, 4).toUShort(nullptr, 16)));
  return true;
}

QString DecodeEscapes(const QString& text) {
  if (!text.contains(QStringLiteral("_x"))) return text;
  QString decoded;
  decoded.reserve(text.size());
  for (qsizetype at = 0; at < text.size();) {
    QChar character;
    if (EscapeAt(text, at, &character)) {
      decoded += character;
      at += 7;
    } else {
      decoded += text[at++];
    }
  }
  return decoded;
}

// Characters XML cannot carry, and halves of a surrogate pair that stand alone, which UTF-8
// cannot carry.
bool NeedsEscape(const QString& text, qsizetype at) {
  const char16_t u = text[at].unicode();
  if (QChar::isHighSurrogate(u)) return at + 1 >= text.size() || !text[at + 1].isLowSurrogate();
  if (QChar::isLowSurrogate(u)) return at == 0 || !text[at - 1].isHighSurrogate();
  return (u < 0x20 && u != u'\t' && u != u'\n') || u == 0xFFFE || u == 0xFFFF;
}

}  // namespace

bool LoadXmlPart(const QByteArray& content, const QString& partName, pugi::xml_document* document,
                 QString* error) {
  const pugi::xml_parse_result result =
      document->load_buffer(content.constData(), static_cast<size_t>(content.size()),
                            pugi::parse_default | pugi::parse_ws_pcdata_single);
  if (result) return true;
  *error = QStringLiteral("the part %1 is no valid XML (%2 at byte %3)")
               .arg(partName, QString::fromUtf8(result.description()))
               .arg(result.offset);
  return false;
}

bool HasLocalName(const pugi::xml_node& node, const char* localName) {
  return std::strcmp(LocalPart(node.name()), localName) == 0;
}

pugi::xml_node ChildNamed(const pugi::xml_node& node, const char* localName) {
  for (const pugi::xml_node child : node.children())
    if (child.type() == pugi::node_element && HasLocalName(child, localName)) return child;
  return {};
}

pugi::xml_attribute AttributeNamed(const pugi::xml_node& node, const char* localName, bool prefixed) {
  for (const pugi::xml_attribute attribute : node.attributes()) {
    const char* name = attribute.name();
    const bool hasPrefix = std::strchr(name, ':') != nullptr;
    if (hasPrefix == prefixed && std::strcmp(LocalPart(name), localName) == 0) return attribute;
  }
  return {};
}

QString TextOf(const pugi::char_t* value) { return QString::fromUtf8(value); }

QString StringItemText(const pugi::xml_node& item) {
  QString text;
  for (const pugi::xml_node child : item.children()) {
    if (HasLocalName(child, "t")) text += TextOf(child.child_value());
    if (HasLocalName(child, "r")) text += TextOf(ChildNamed(child, "t").child_value());
  }
  return DecodeEscapes(text);
}

QByteArray EscapeStoredText(const QString& text) {
  QString escaped;
  escaped.reserve(text.size());
  for (qsizetype at = 0; at < text.size(); ++at) {
    QChar unused;
    const QChar c = text[at];
    if (NeedsEscape(text, at) || EscapeAt(text, at, &unused))
      escaped += QStringLiteral("_x%1_").arg(c.unicode(), 4, 16, QChar(u'0')).toUpper().replace(u'X', u'x');
    else
      escaped += c;
  }
  return escaped.toUtf8();
}

QString ResolvePartName(const QString& folder, const QString& target) {
  const QString joined = target.startsWith(u'/') ? target.mid(1) : folder + target;
  QStringList parts;
  for (const QString& piece : joined.split(u'/', Qt::SkipEmptyParts)) {
    if (piece == u"..") {
      if (!parts.isEmpty()) parts.removeLast();
    } else if (piece != u".") {
      parts.append(piece);
    }
  }
  return parts.join(u'/');
}

QString RelationshipsPartOf(const QString& partName) {
  const qsizetype slash = partName.lastIndexOf(u'/');
  return partName.left(slash + 1) + QStringLiteral("_rels/") + partName.mid(slash + 1) +
         QStringLiteral(".rels");
}

}  // namespace platform
