#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <cstdint>

namespace platform {
class Worksheet;
}

namespace devicerecord {

// One worksheet row as a device record of text columns, as both programs hand sheet rows out:
// each value's displayed text as it stands (at most `maxUnits` UTF-16 units; no line-break or
// tab rewriting, unlike DeviceText) and a 0 unit. The record's length, or 0 when a value would
// start past 65,535, where a 16-bit offset cannot reach it.
int EncodeSheetRow(const platform::Worksheet& sheet, int32_t row, int16_t columns, qsizetype maxUnits,
                   QByteArray* record);

}  // namespace devicerecord
