#pragma once

#include <QString>

class QWidget;

// A typed value goes into the stored form text as it is, and that text has no escaping: a value
// holding a piece the readers take for a tag is refused with an information box naming the
// piece. True when `value` was refused.
bool RefuseUnstorableText(QWidget* parent, const QString& value);
