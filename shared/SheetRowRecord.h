#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <cstdint>

namespace platform {
class Worksheet;
}

// One worksheet row as a device record of text columns, as both programs hand sheet rows out: a
// big-endian 16-bit offset per column, then each value's displayed text as UTF-16LE units (at most
// `maxUnits`) and a 0 unit. The record's length, or 0 when a value would start past 65,535, where
// a 16-bit offset cannot reach it.
int EncodeSheetRow(const platform::Worksheet& sheet, int32_t row, int16_t columns, qsizetype maxUnits,
                   QByteArray* record);
