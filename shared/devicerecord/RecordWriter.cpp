#include "shared/devicerecord/RecordWriter.h"

#include "shared/Endian.h"
#include "shared/devicerecord/DeviceRecord.h"

#include <bit>

using namespace endian;

namespace devicerecord {
namespace {

constexpr qsizetype kMaxOffset = 0xFFFF;

// Dates travel at midnight and times on 1899-12-30, without fractions.
Timestamp SentTimestamp(int16_t kind, const Timestamp& t) {
  if (kind == 9) return Timestamp::Of(t.year, t.month, t.day);
  if (kind == 10) return Timestamp::Of(1899, 12, 30, t.hour, t.minute, t.second);
  return t;
}

}  // namespace

RecordWriter::RecordWriter(QByteArray* record, qsizetype valueCount) : m_record(record) {
  m_record->fill('\0', 2 * valueCount);
}

bool RecordWriter::Append(const Value& value) {
  if (!StartValue()) return false;
  AppendValueBytes(value);
  return true;
}

bool RecordWriter::AppendText(QStringView units) {
  if (!StartValue()) return false;
  AppendTextBytes(units);
  return true;
}

bool RecordWriter::StartValue() {
  if (m_record->size() > kMaxOffset) return false;
  WriteBE<uint16_t>(Bytes(*m_record) + 2 * m_next, static_cast<uint16_t>(m_record->size()));
  ++m_next;
  return true;
}

void RecordWriter::AppendValueBytes(const Value& value) {
  const Value zero = Value::Null(value.kind);
  const Value& v = value.isNull ? zero : value;
  switch (v.kind) {
    case 1:
    case 2: AppendTextBytes(DeviceText(v.text)); break;
    case 4: AppendBE<uint32_t>(m_record, static_cast<uint32_t>(v.integer)); break;
    case 5: AppendBE<uint16_t>(m_record, static_cast<uint16_t>(v.integer)); break;
    case 7: AppendBE<uint32_t>(m_record, std::bit_cast<uint32_t>(static_cast<float>(v.real))); break;
    case 8: AppendBE<uint64_t>(m_record, std::bit_cast<uint64_t>(v.real)); break;
    case 9:
    case 10:
    case 93: AppendTimestampBytes(v.isNull ? Timestamp{} : SentTimestamp(v.kind, v.timestamp)); break;
    case -6:
    case -7: m_record->append(static_cast<char>(v.integer & 0xFF)); break;
    default: break;
  }
}

void RecordWriter::AppendTextBytes(QStringView units) {
  for (const QChar unit : units) AppendLE<uint16_t>(m_record, unit.unicode());
  AppendLE<uint16_t>(m_record, 0);
}

void RecordWriter::AppendTimestampBytes(const Timestamp& t) {
  AppendBE<uint16_t>(m_record, static_cast<uint16_t>(t.year));
  AppendBE<uint16_t>(m_record, t.month);
  AppendBE<uint16_t>(m_record, t.day);
  AppendBE<uint16_t>(m_record, t.hour);
  AppendBE<uint16_t>(m_record, t.minute);
  AppendBE<uint16_t>(m_record, t.second);
  AppendBE<uint32_t>(m_record, t.fraction);
}

}  // namespace devicerecord
