#pragma once

#include "shared/devicerecord/Timestamp.h"
#include "shared/devicerecord/Value.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

// A row as it travels between the desktop and the devices: a big-endian 16-bit offset per
// supported column, then each column's value in the form of its kind, with nothing between.
namespace devicerecord {

// Texts travel without carriage returns, with each tab as five blanks, at most this many
// UTF-16 units (a surrogate pair is never split), then a 0 unit.
inline constexpr qsizetype kMaxTextUnits = 16382;

// The text as a device record carries it.
QString DeviceText(const QString& text);

// What the readers of rows answer for a row that was read but cannot be encoded as a device
// record (a text too long for it): its digest is given, its record is not.
inline constexpr int kRecordNotEncodable = -1;

// The record of the values, in column order. Nothing when a value would start beyond byte
// 65,535, where a 16-bit offset cannot reach it.
std::optional<QByteArray> Encode(const QList<Value>& values);

// The values of a received record whose entries belong, in order, to columns of `kinds` (the
// supported columns of the result). Every offset and value is checked against the record: an
// offset table that does not match the kinds, an offset outside the values, a value that runs
// past the end or a kind that cannot travel gives nothing and a reason in `error`. Texts end at
// their 0 unit or at the record's end; a text of no units is read as NULL.
std::optional<QList<Value>> Decode(QByteArrayView record, const QList<int16_t>& kinds, QString* error);

// Bytes of a value of `kind` in a record, texts aside; 0 for texts and kinds that cannot travel.
int FixedSize(int16_t kind);

}  // namespace devicerecord
