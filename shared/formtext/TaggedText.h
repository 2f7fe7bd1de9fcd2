#pragma once

#include <QString>
#include <QStringView>

// The stored form texts look like XML but are not: elements "<Name>value</Name>" follow each
// other with nothing between them, values are raw, and readers find tags by plain substring
// search in the order the writer put them. These are the reading rules both programs share
// (GetXmlTagValue in shared/soap/XmlTagValue.h walks a text by them).
namespace taggedtext {

enum class TagStatus {
  Found,     // opening tag and closing pattern both present
  Absent,    // no opening tag
  Unclosed,  // opening tag present, no closing pattern after it: a damaged or cut text
};

struct TagMatch {
  TagStatus status = TagStatus::Absent;
  qsizetype valueStart = 0;  // just after the opening tag (Found and Unclosed)
  qsizetype valueEnd = 0;    // where the closing pattern begins (Found only)
};

// Looks for the element `name` in text[from, limit): the first "<name>", then the first
// "</name" after it. Nothing outside that range is read.
TagMatch FindTag(QStringView text, qsizetype from, qsizetype limit, QStringView name);

// The C library's text-to-integer rule: leading white space, an optional sign, then digits;
// 0 when there are none. Values beyond the 32-bit range are clamped to it.
int ToInt(QStringView text);

}  // namespace taggedtext
