#include "sync/engine/DeviceMessages.h"

#include "shared/Endian.h"

using namespace endian;

namespace devicemessages {
namespace {

constexpr qsizetype kIdentityBytes = 12;  // ProfileID, source, index
constexpr qsizetype kRowHeadBytes = 8;    // length, then a big-endian word that is not used

// Reads fields from the left, never past the stream.
class StreamCursor {
 public:
  explicit StreamCursor(QByteArrayView stream) : m_stream(stream) {}

  bool Has(qsizetype bytes) const { return bytes <= m_stream.size() - m_position; }
  uint16_t U16() { return ReadLE<uint16_t>(Take(2)); }
  int32_t I32() { return ReadInt32LE(Take(4)); }
  QByteArray Bytes(qsizetype count) { return QByteArray(reinterpret_cast<const char*>(Take(count)), count); }

 private:
  const uint8_t* Take(qsizetype count) {
    const auto* at = reinterpret_cast<const uint8_t*>(m_stream.data()) + m_position;
    m_position += count;
    return at;
  }

  QByteArrayView m_stream;
  qsizetype m_position = 1;  // after the opening byte
};

bool ReadBody(StreamCursor& cursor, DeviceMessage* message, QString* problem) {
  if (!cursor.Has(kIdentityBytes)) {
    *problem = QStringLiteral("A message of type %1 is cut short.").arg(message->type);
    return false;
  }
  message->profileId = cursor.I32();
  message->recordSource = cursor.I32();
  message->recordIndex = cursor.I32();
  if (message->type == kRecordDeleted) return true;
  if (!cursor.Has(kRowHeadBytes)) {
    *problem = QStringLiteral("A message of type %1 is cut short.").arg(message->type);
    return false;
  }
  const int32_t length = cursor.I32();
  cursor.I32();
  if (length < 4 || !cursor.Has(length - 4)) {
    *problem = QStringLiteral("A message of type %1 gives a row length of %2 that the stream does not hold.")
                   .arg(message->type)
                   .arg(length);
    return false;
  }
  message->rowData = cursor.Bytes(length - 4);
  return true;
}

}  // namespace

DeviceStream ReadDeviceStream(QByteArrayView stream) {
  DeviceStream result;
  if (stream.isEmpty() || stream.front() != 1) return result;
  StreamCursor cursor(stream);
  for (;;) {
    if (!cursor.Has(2)) {
      result.problem = QStringLiteral("The stream ends without an end message.");
      return result;
    }
    DeviceMessage message;
    message.type = cursor.U16();
    if (message.type == kEnd) return result;
    const bool carriesRow = message.type == kRecordAdded || message.type == kRecordUpdated;
    if ((carriesRow || message.type == kRecordDeleted) && !ReadBody(cursor, &message, &result.problem)) return result;
    result.messages.push_back(message);
  }
}

QByteArray EncodeDeviceStream(const std::vector<DeviceMessage>& messages) {
  QByteArray stream(1, '\1');
  for (const DeviceMessage& message : messages) {
    AppendLE<uint16_t>(&stream, message.type);
    if (message.type != kRecordAdded && message.type != kRecordUpdated && message.type != kRecordDeleted) continue;
    for (const int32_t field : {message.profileId, message.recordSource, message.recordIndex})
      AppendLE<uint32_t>(&stream, static_cast<uint32_t>(field));
    if (message.type == kRecordDeleted) continue;
    AppendLE<uint32_t>(&stream, static_cast<uint32_t>(message.rowData.size() + 4));
    AppendLE<uint32_t>(&stream, 0);
    stream.append(message.rowData);
  }
  AppendLE<uint16_t>(&stream, kEnd);
  return stream;
}

QByteArray BuildAckRecord(int32_t profileId, int32_t recordSource, int32_t recordIndex, int16_t resultCode,
                          const QString& resultText) {
  QByteArray record;
  for (const int32_t field : {profileId, recordSource, recordIndex}) AppendLE<uint32_t>(&record, static_cast<uint32_t>(field));
  AppendLE<uint16_t>(&record, static_cast<uint16_t>(resultCode));
  AppendLE<uint16_t>(&record, static_cast<uint16_t>(2 * resultText.size()));
  for (const QChar unit : resultText) AppendLE<uint16_t>(&record, unit.unicode());
  return record;
}

}  // namespace devicemessages
