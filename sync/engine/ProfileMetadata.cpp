#include "sync/engine/ProfileMetadata.h"

#include "shared/Endian.h"
#include "sync/engine/MessageBuilders.h"

using namespace endian;

namespace profilemetadata {
namespace {

constexpr qsizetype kMaxLength = 0xFFFF;
constexpr int kDecimalKind = 2;
constexpr uint16_t kUnsizedDecimal = 38;

void AppendTextWithZero(QByteArray* out, const QString& text) {
  for (const QChar unit : text) AppendLE<uint16_t>(out, unit.unicode());
  AppendLE<uint16_t>(out, 0);
}

void AppendBE16(QByteArray* out, int value) { AppendBE<uint16_t>(out, static_cast<uint16_t>(value)); }

QString HeaderName(const QString& name) {
  if (name.size() <= kMaxNameUnits) return name;
  const bool splitsPair = name.at(kMaxNameUnits - 1).isHighSurrogate();
  return name.left(splitsPair ? kMaxNameUnits - 1 : kMaxNameUnits);
}

// Reads the sort text from the left: a value is what stands before the next "#", which is then
// passed over. Missing text reads as 0 or empty.
class SortTextReader {
 public:
  explicit SortTextReader(const QString& text) : m_text(text) {}

  int NextNumber() {
    const qsizetype hash = m_text.indexOf(QLatin1Char('#'), m_position);
    if (hash < 0) {
      m_position = m_text.size();
      return 0;
    }
    const QString digits = m_text.mid(m_position, hash - m_position);
    m_position = hash + 1;
    bool ok = false;
    const int value = digits.toInt(&ok);
    return ok ? value : 0;
  }

  // `length` characters (fewer at the end of the text), then one character passed over.
  QString NextName(int length) {
    const QString name = m_text.mid(m_position, std::max(length, 0));
    m_position = std::min(m_text.size(), m_position + name.size() + 1);
    return name;
  }

 private:
  const QString& m_text;
  qsizetype m_position = 0;
};

}  // namespace

QByteArray BuildDeviceDBHeader(const QString& profileName, const QString& syncDestination, int32_t profileType,
                               uint32_t now) {
  QByteArray header;
  AppendTextWithZero(&header, HeaderName(profileName));
  header.resize(64, '\0');
  AppendBE16(&header, profileType == 1 ? 1 : profileType == 2 ? 2 : 0);
  AppendBE16(&header, syncDestination == QStringLiteral("MainMemory") ? 0 : 1);
  AppendBE<uint32_t>(&header, now);
  AppendBE<uint32_t>(&header, now);
  header.append(8, '\0');
  AppendBE<uint32_t>(&header, kHeaderSize);
  header.append(4, '\0');
  header.append("MORVTWKL", 8);
  header.append(12, '\0');
  return header;
}

std::optional<QByteArray> BuildColumnLayoutBlock(const QList<Column>& columns) {
  QList<Column> supported;
  for (const Column& column : columns)
    if (column.kind != 0) supported.append(column);
  QByteArray block;
  AppendBE16(&block, static_cast<int>(supported.size()));
  block.append(2 * supported.size(), '\0');
  for (qsizetype j = 0; j < supported.size(); ++j) {
    if (block.size() > kMaxLength) return std::nullopt;
    WriteBE<uint16_t>(Bytes(block) + 2 + 2 * j, static_cast<uint16_t>(block.size()));
    const Column& column = supported.at(j);
    AppendBE16(&block, column.kind);
    AppendBE16(&block, column.kind == kDecimalKind && column.size == 0 ? kUnsizedDecimal : column.size);
    AppendBE16(&block, column.decimalDigits);
    AppendTextWithZero(&block, column.name);
  }
  if (block.size() > kMaxLength) return std::nullopt;
  return block;
}

std::optional<QByteArray> BuildSortColumnsBlock(const QString& sortColumnsInfo) {
  SortTextReader reader(sortColumnsInfo);
  const int count = std::max(reader.NextNumber(), 0);
  QByteArray block(2, '\0');
  AppendBE16(&block, count);
  for (int i = 0; i < count && block.size() <= kMaxLength; ++i) {
    const QString name = reader.NextName(reader.NextNumber());
    AppendBE16(&block, static_cast<int>(2 * name.size() + 2));
    AppendTextWithZero(&block, name);
    AppendBE16(&block, reader.NextNumber());
    AppendBE16(&block, reader.NextNumber());
  }
  if (block.size() - 2 > kMaxLength) return std::nullopt;
  WriteBE<uint16_t>(Bytes(block), static_cast<uint16_t>(block.size() - 2));
  return block;
}

QList<int32_t> SupportedPositions(const QList<Column>& columns, const QList<int32_t>& resultIndexes) {
  QList<int32_t> positions;
  for (const int32_t index : resultIndexes) {
    if (index < 0 || index >= columns.size() || columns.at(index).kind == 0) continue;
    int32_t position = 0;
    for (int32_t i = 0; i < index; ++i)
      if (columns.at(i).kind != 0) ++position;
    positions.append(position);
  }
  return positions;
}

QByteArray BuildColumnIndexBlock(const QList<int32_t>& positions) {
  QByteArray block;
  AppendBE16(&block, static_cast<int>(positions.size()));
  for (const int32_t position : positions) AppendBE16(&block, position);
  return block;
}

std::optional<QByteArray> AssembleAddProfile(int32_t profileId, const QByteArray& header, const QByteArray& layout,
                                             const QByteArray& sort, const QByteArray& autoNumber,
                                             const QByteArray& primaryKey) {
  const qsizetype rest = 4 + header.size() + 2 + layout.size() + sort.size() + autoNumber.size() + primaryKey.size();
  if (rest > kMaxLength || layout.size() > kMaxLength) return std::nullopt;
  QByteArray message;
  message.reserve(rest + 4);
  AppendLE<uint16_t>(&message, messages::kAddProfile);
  AppendLE<uint16_t>(&message, static_cast<uint16_t>(rest));
  AppendBE<uint32_t>(&message, static_cast<uint32_t>(profileId));
  message += header;
  AppendBE16(&message, static_cast<int>(layout.size()));
  message += layout + sort + autoNumber + primaryKey;
  return message;
}

}  // namespace profilemetadata
