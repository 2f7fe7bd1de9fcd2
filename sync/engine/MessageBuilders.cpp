#include "sync/engine/MessageBuilders.h"

#include "shared/Endian.h"

using namespace endian;

namespace messages {
namespace {

QByteArray TypeAndIdLE(Type type, int32_t id) {
  QByteArray message;
  AppendLE<uint16_t>(&message, type);
  AppendLE<uint32_t>(&message, static_cast<uint32_t>(id));
  return message;
}

}  // namespace

QByteArray AddDeleteProfileMessage(int32_t profileId) { return TypeAndIdLE(kDeleteProfile, profileId); }

QByteArray AddProfileDataHeader(int32_t profileId) { return TypeAndIdLE(kProfileRecordStrip, profileId); }

QByteArray AddFinishProfileMessage(int32_t profileId) { return TypeAndIdLE(kFinishProfile, profileId); }

QByteArray AddDeleteFormMessage(int32_t formId) { return TypeAndIdLE(kDeleteForm, formId); }

QByteArray AddFinishFormMessage(int32_t formId) { return TypeAndIdLE(kFinishForm, formId); }

QByteArray AddFormDataHeader(int32_t formId, int32_t firstStrip) {
  QByteArray message;
  AppendLE<uint16_t>(&message, kFormTabStrip);
  AppendBE<uint32_t>(&message, static_cast<uint32_t>(formId));
  AppendLE<uint32_t>(&message, static_cast<uint32_t>(firstStrip));
  return message;
}

}  // namespace messages

namespace {

void AppendDeviceId(DeviceListEntry* entry, const QString& userId) {
  if (!entry->deviceList.isEmpty()) entry->deviceList += QLatin1Char(',');
  entry->deviceList += userId;
}

}  // namespace

void AppendProfileDeviceId(ProfileDeviceList* entry, const QString& userId) { AppendDeviceId(entry, userId); }

void AppendFormDeviceId(FormDeviceList* entry, const QString& userId) { AppendDeviceId(entry, userId); }
