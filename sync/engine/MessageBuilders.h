#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// The small fixed-size messages of the stream to the devices. Every message opens with its
// uint16 little-endian type; the byte order of each other field is part of the wire format.
namespace messages {

enum Type : uint16_t {
  kAddProfile = 1,
  kDeleteProfile = 2,
  kRecordAdded = 3,
  kRecordDeleted = 5,
  kProfileRecordStrip = 6,
  kFinishProfile = 16,
  kAddForm = 21,
  kDeleteForm = 22,
  kFormTabStrip = 23,
  kFinishForm = 24,
};

// Type 2: int32 LE ProfileID.
QByteArray AddDeleteProfileMessage(int32_t profileId);
// Type 6, the head of a profile record strip: int32 LE ProfileID.
QByteArray AddProfileDataHeader(int32_t profileId);
// Type 16: int32 LE ProfileID.
QByteArray AddFinishProfileMessage(int32_t profileId);
// Type 22: int32 LE FormID.
QByteArray AddDeleteFormMessage(int32_t formId);
// Type 23, the head of a form tab strip: int32 BE FormID, int32 LE 1 in a form's first strip
// and 0 in every strip that continues it.
QByteArray AddFormDataHeader(int32_t formId, int32_t firstStrip);
// Type 24: int32 LE FormID.
QByteArray AddFinishFormMessage(int32_t formId);

}  // namespace messages

// One profile or form of a status pass: its ID, the users whose rows carry the flag (their
// UserIDs joined by ","; logged, never sent) and whether its message went into the buffer.
struct DeviceListEntry {
  int32_t id = -1;
  QString deviceList;
  bool included = true;
};
using ProfileDeviceList = DeviceListEntry;
using FormDeviceList = DeviceListEntry;

void AppendProfileDeviceId(ProfileDeviceList* entry, const QString& userId);
void AppendFormDeviceId(FormDeviceList* entry, const QString& userId);
