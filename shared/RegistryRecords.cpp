#include "shared/RegistryRecords.h"

#include "shared/Endian.h"
#include "shared/FixedText.h"

namespace {

// The record as laid out in a buffer of at least `size` bytes; a shorter one is read as if
// zero-filled, so no field is ever read past the bytes given.
QByteArray AtLeast(const QByteArray& plain, int size) {
  return plain.size() >= size ? plain : plain.leftJustified(size, '\0', true);
}

class RecordWriter {
 public:
  explicit RecordWriter(int size) : bytes_(size, '\0') {}
  void Text(int offset, int width, const QByteArray& text) {
    fixedtext::Write(bytes_.data() + offset, width, text);
  }
  void Int32(int offset, int32_t value) { endian::WriteInt32LE(endian::Bytes(bytes_) + offset, value); }
  void UInt16(int offset, uint16_t value) {
    endian::WriteLE<uint16_t>(endian::Bytes(bytes_) + offset, value);
  }
  QByteArray Bytes() const { return bytes_; }

 private:
  QByteArray bytes_;
};

class RecordReader {
 public:
  RecordReader(const QByteArray& plain, int size) : bytes_(AtLeast(plain, size)) {}
  QByteArray Text(int offset, int width) const {
    return fixedtext::Read(bytes_.constData() + offset, width);
  }
  int32_t Int32(int offset) const { return endian::ReadInt32LE(endian::Bytes(bytes_) + offset); }
  uint16_t UInt16(int offset) const {
    return endian::ReadLE<uint16_t>(endian::Bytes(bytes_) + offset);
  }

 private:
  QByteArray bytes_;
};

}  // namespace

QByteArray ConnSettings::ToBytes() const {
  RecordWriter record(kSize);
  record.Text(0, 128, proxyServer);
  record.Int32(128, proxyPort);
  record.Text(132, 64, proxyUser);
  record.Text(196, 64, proxyPassword);
  record.Int32(260, useProxy);
  return record.Bytes();
}

ConnSettings ConnSettings::FromBytes(const QByteArray& plain) {
  const RecordReader record(plain, kSize);
  ConnSettings settings;
  settings.proxyServer = record.Text(0, 128);
  settings.proxyPort = record.Int32(128);
  settings.proxyUser = record.Text(132, 64);
  settings.proxyPassword = record.Text(196, 64);
  settings.useProxy = record.Int32(260);
  return settings;
}

QByteArray SyncInfo::ToBytes() const {
  RecordWriter record(kSize);
  record.Int32(0, changeDetectionMinutes);
  record.Int32(4, backSyncMinutes);
  record.Text(8, 256, webServiceUrl);
  return record.Bytes();
}

SyncInfo SyncInfo::FromBytes(const QByteArray& plain) {
  const RecordReader record(plain, kSize);
  SyncInfo info;
  info.changeDetectionMinutes = record.Int32(0);
  info.backSyncMinutes = record.Int32(4);
  info.webServiceUrl = record.Text(8, 256);
  return info;
}

QByteArray DeskInfo::ToBytes() const {
  RecordWriter record(kSize);
  record.Text(0, 128, desktopName);
  record.Text(128, 128, deviceId);
  record.Text(256, 128, devicePassword);
  record.UInt16(384, deviceType);
  return record.Bytes();
}

DeskInfo DeskInfo::FromBytes(const QByteArray& plain) {
  const RecordReader record(plain, kSize);
  DeskInfo info;
  info.desktopName = record.Text(0, 128);
  info.deviceId = record.Text(128, 128);
  info.devicePassword = record.Text(256, 128);
  info.deviceType = record.UInt16(384);
  return info;
}
