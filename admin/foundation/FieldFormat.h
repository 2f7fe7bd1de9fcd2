#pragma once

#include "shared/odbc/ValueText.h"

#include <QByteArray>
#include <QString>

// The administration program's reading of columns of no supported kind, which it fetches as
// 8-bit hexadecimal text; the value texts both programs share come with ValueText.h.

// Pairs of hexadecimal digits, while the second of a pair lies below `length`, as one character
// each; a pair that is not hexadecimal gives the value of its leading hexadecimal digits, or 0.
QString DecodeHexText(const QByteArray& text, qsizetype length);
