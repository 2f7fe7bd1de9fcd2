#include "shared/devicerecord/DeviceRecord.h"

#include "shared/Endian.h"
#include "shared/devicerecord/RecordWriter.h"

using namespace endian;

namespace devicerecord {
namespace {

constexpr int kTimestampBytes = 16;

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
  QByteArray record;
  RecordWriter writer(&record, values.size());
  for (const Value& value : values) {
    if (!writer.Append(value)) return std::nullopt;
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
