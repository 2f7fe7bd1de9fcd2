#pragma once

#include <QString>

// The value of an element of the tagged text of forms. The source is consumed from the left:
// after the call it begins just after the element's opening tag, so elements are read in the
// order in which they were written. Empty when the element or its closing tag is missing; a
// missing opening tag leaves the source as it was.
QString GetXmlTagValue(QString* source, const QString& elementName);
