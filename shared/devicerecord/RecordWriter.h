#pragma once

#include "shared/devicerecord/Value.h"

#include <QByteArray>
#include <QStringView>

namespace devicerecord {

// Writes one device record into a caller's buffer, value by value: the table of big-endian 16-bit
// offsets comes first, each offset filled in as its value is appended. Every encoder of records
// writes through here, so the table and the limit of a 16-bit offset are kept in one place.
class RecordWriter {
 public:
  // Drops what `record` held and starts it with a zeroed table of `valueCount` offsets, the
  // number of values to be appended.
  RecordWriter(QByteArray* record, qsizetype valueCount);

  // The value in the form of its kind (a text as DeviceText makes it). False, and nothing
  // written, when the value would start beyond byte 65,535, where its offset cannot reach it.
  bool Append(const Value& value);
  // The UTF-16 units as given, then a 0 unit; false as for Append.
  bool AppendText(QStringView units);

 private:
  bool StartValue();
  void AppendValueBytes(const Value& value);
  void AppendTextBytes(QStringView units);
  void AppendTimestampBytes(const Timestamp& t);

  QByteArray* m_record;
  qsizetype m_next = 0;
};

}  // namespace devicerecord
