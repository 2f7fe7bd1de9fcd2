#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <vector>

// What the devices send the desktop: a stream that opens with the byte 1 and holds messages up
// to an end message, and the acknowledgement record the desktop answers each one with.
namespace devicemessages {

enum Type : uint16_t { kEnd = 0, kRecordAdded = 3, kRecordUpdated = 4, kRecordDeleted = 5 };

// One message of the stream. Types other than 3, 4 and 5 carry nothing and are passed over.
struct DeviceMessage {
  uint16_t type = kEnd;
  int32_t profileId = 0;
  int32_t recordSource = 0;
  int32_t recordIndex = 0;
  QByteArray rowData;  // the device record of an added or updated row

  bool operator==(const DeviceMessage&) const = default;
};

struct DeviceStream {
  std::vector<DeviceMessage> messages;  // in stream order, the end message left out
  QString problem;                      // why reading stopped before an end message; empty if it did not
};

// The messages of `stream` up to its end message. A stream that does not open with the byte 1
// holds none. A message that runs past the stream, or whose row length is below 4, ends the
// reading there with a problem: what was read before it stands.
DeviceStream ReadDeviceStream(QByteArrayView stream);

// The stream of `messages` as the devices send it: the byte 1, the messages, an end message.
QByteArray EncodeDeviceStream(const std::vector<DeviceMessage>& messages);

// ProfileID, record source and index, the result code (1 applied, 0 not) and the result text.
QByteArray BuildAckRecord(int32_t profileId, int32_t recordSource, int32_t recordIndex, int16_t resultCode,
                          const QString& resultText);

}  // namespace devicemessages
