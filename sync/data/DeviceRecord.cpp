#include "sync/data/DeviceRecord.h"

#include "shared/Endian.h"

using namespace endian;

namespace devicerecord {
namespace {

constexpr int kTimestampBytes = 16;
constexpr qsizetype kMaxOffset = 0xFFFF;

void AppendText(QByteArray* record, const QString& text) {
  const QString sent = DeviceText(text);
  for (const QChar unit : sent) AppendLE<uint16_t>(record, unit.unicode());
  AppendLE<uint16_t>(record, 0);
}

void AppendTimestamp(QByteArray* record, const Timestamp& t) {
  AppendBE<uint16_t>(record, static_cast<uint16_t>(t.year));
  AppendBE<uint16_t>(record, t.month);
  AppendBE<uint16_t>(record, t.day);
  AppendBE<uint16_t>(record, t.hour);
  AppendBE<uint16_t>(record, t.minute);
  AppendBE<uint16_t>(record, t.second);
  AppendBE<uint32_t>(record, t.fraction);
}

// Dates travel at midnight and times on 1899-12-30, without fractions.
Timestamp SentTimestamp(int16_t kind, const Timestamp& t) {
  if (kind == 9) return Timestamp::Of(t.year, t.month, t.day);
  if (kind == 10) return Timestamp::Of(1899, 12, 30, t.hour, t.minute, t.second);
  return t;
}

void AppendValue(QByteArray* record, const Value& value) {
  const Value zero = Value::Null(value.kind);
  const Value& v = value.isNull ? zero : value;
  switch (v.kind) {
    case 1:
    case 2: AppendText(record, v.text); break;
    case 4: AppendBE<uint32_t>(record, static_cast<uint32_t>(v.integer)); break;
    case 5: AppendBE<uint16_t>(record, static_cast<uint16_t>(v.integer)); break;
    case 7: AppendBE<uint32_t>(record, std::bit_cast<uint32_t>(static_cast<float>(v.real))); break;
    case 8: AppendBE<uint64_t>(record, std::bit_cast<uint64_t>(v.real)); break;
    case 9:
    case 10:
    case 93: AppendTimestamp(record, v.isNull ? Timestamp{} : SentTimestamp(v.kind, v.timestamp)); break;
    case -6:
    case -7: record->append(static_cast<char>(v.integer & 0xFF)); break;
    default: break;
  }
}

Timestamp ReadTimestamp(const uint8_t* p) {
  Timestamp t;
  t.year = ReadInt16BE(p);
  t.month = ReadBE<uint16_t>(p + 2);
  t.day = ReadBE<uint16_t>(p + 4);
  t.hour = ReadBE<uint16_t>(p + 6);
  t.minute = ReadBE<uint16_t>(p + 8);
  t.second = ReadBE<uint16_t>(p + 10);
  t.fraction = ReadBE<uint32_t>(p + 12);
  return t;
}

// A text from `offset` up to its 0 unit; nothing when the record ends before one.
std::optional<QString> ReadText(QByteArrayView record, qsizetype offset) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(record.data());
  QString text;
  for (qsizetype at = offset; at + 1 < record.size(); at += 2) {
    const uint16_t unit = ReadLE<uint16_t>(bytes + at);
    if (unit == 0) return text;
    text.append(QChar(unit));
  }
  return std::nullopt;
}

// A fixed-size value that lies whole inside the record.
Value ReadFixedValue(QByteArrayView record, qsizetype offset, int16_t kind) {
  const auto* p = reinterpret_cast<const uint8_t*>(record.data()) + offset;
  Value value(kind);
  switch (kind) {
    case 4: value.integer = ReadInt32BE(p); break;
    case 5: value.integer = ReadInt16BE(p); break;
    case 7: value.real = ReadFloatBE(p); break;
    case 8: value.real = ReadDoubleBE(p); break;
    case 9:
    case 10:
    case 93:
      value.timestamp = ReadTimestamp(p);
      value.isNull = value.timestamp.IsAllZero();
      break;
    default: value.integer = p[0]; break;
  }
  return value;
}

bool IsText(int16_t kind) { return kind == 1 || kind == 2; }

bool CanTravel(int16_t kind) { return IsText(kind) || FixedSize(kind) > 0; }

// The fewest bytes a value of the kind takes: a text at least its 0 unit.
int MinimumSize(int16_t kind) { return IsText(kind) ? 2 : FixedSize(kind); }

}  // namespace

Timestamp Timestamp::Of(int year, int month, int day, int hour, int minute, int second, uint32_t fraction) {
  Timestamp t;
  t.year = static_cast<int16_t>(year);
  t.month = static_cast<uint16_t>(month);
  t.day = static_cast<uint16_t>(day);
  t.hour = static_cast<uint16_t>(hour);
  t.minute = static_cast<uint16_t>(minute);
  t.second = static_cast<uint16_t>(second);
  t.fraction = fraction;
  return t;
}

bool Timestamp::IsAllZero() const { return *this == Timestamp{}; }

Value Value::Null(int16_t kind) {
  Value value(kind);
  value.isNull = true;
  return value;
}

Value Value::OfText(int16_t kind, const QString& text) {
  Value value(kind);
  value.text = text;
  return value;
}

Value Value::OfInteger(int16_t kind, int32_t integer) {
  Value value(kind);
  value.integer = integer;
  return value;
}

Value Value::OfReal(int16_t kind, double real) {
  Value value(kind);
  value.real = real;
  return value;
}

Value Value::OfTimestamp(int16_t kind, const Timestamp& timestamp) {
  Value value(kind);
  value.timestamp = timestamp;
  return value;
}

int FixedSize(int16_t kind) {
  switch (kind) {
    case 4:
    case 7: return 4;
    case 5: return 2;
    case 8: return 8;
    case 9:
    case 10:
    case 93: return kTimestampBytes;
    case -6:
    case -7: return 1;
    default: return 0;
  }
}

QString DeviceText(const QString& text) {
  QString sent = text;
  sent.remove(QChar(u'\r'));
  sent.replace(QChar(u'\t'), QStringLiteral("     "));
  if (sent.size() > kMaxTextUnits) {
    const bool splitsPair = sent.at(kMaxTextUnits - 1).isHighSurrogate();
    sent.truncate(splitsPair ? kMaxTextUnits - 1 : kMaxTextUnits);
  }
  return sent;
}

std::optional<QByteArray> Encode(const QList<Value>& values) {
  QByteArray record(2 * values.size(), '\0');
  for (qsizetype i = 0; i < values.size(); ++i) {
    if (record.size() > kMaxOffset) return std::nullopt;
    WriteBE<uint16_t>(Bytes(record) + 2 * i, static_cast<uint16_t>(record.size()));
    AppendValue(&record, values.at(i));
  }
  return record;
}

std::optional<QList<Value>> Decode(QByteArrayView record, const QList<int16_t>& kinds, QString* error) {
  const qsizetype tableSize = 2 * kinds.size();
  const auto* bytes = reinterpret_cast<const uint8_t*>(record.data());
  if (record.size() < tableSize) {
    *error = QStringLiteral("The record is shorter than its offset table.");
    return std::nullopt;
  }
  if (!kinds.isEmpty() && ReadBE<uint16_t>(bytes) != tableSize) {
    *error = QStringLiteral("The record's offset table does not match the %1 columns of the profile.").arg(kinds.size());
    return std::nullopt;
  }
  QList<Value> values;
  values.reserve(kinds.size());
  for (qsizetype j = 0; j < kinds.size(); ++j) {
    const int16_t kind = kinds.at(j);
    const qsizetype offset = ReadBE<uint16_t>(bytes + 2 * j);
    if (!CanTravel(kind)) {
      *error = QStringLiteral("Column %1 has a kind that no record carries.").arg(j + 1);
      return std::nullopt;
    }
    if (offset < tableSize || offset + MinimumSize(kind) > record.size()) {
      *error = QStringLiteral("The offset of column %1 lies outside the record's values.").arg(j + 1);
      return std::nullopt;
    }
    if (IsText(kind)) {
      const std::optional<QString> text = ReadText(record, offset);
      if (!text) {
        *error = QStringLiteral("The text of column %1 has no terminator.").arg(j + 1);
        return std::nullopt;
      }
      values.append(text->isEmpty() ? Value::Null(kind) : Value::OfText(kind, *text));
    } else {
      values.append(ReadFixedValue(record, offset, kind));
    }
  }
  return values;
}

}  // namespace devicerecord
