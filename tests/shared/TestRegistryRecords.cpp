#include "shared/RegistryRecords.h"
#include "shared/contract/RegistryNames.h"

#include <gtest/gtest.h>

namespace {

struct Placed {
  int offset;
  QByteArray bytes;
};

// A record of `size` zero bytes with each field's bytes placed at its offset.
QByteArray Layout(int size, std::initializer_list<Placed> fields) {
  QByteArray record(size, '\0');
  for (const Placed& field : fields) record.replace(field.offset, field.bytes.size(), field.bytes);
  return record;
}

}  // namespace

TEST(RegistryRecords, RecordKeyName) {
  EXPECT_EQ(registrynames::RecordKeyName(), QStringLiteral("Software\\Microsoft\\Windows\\Version\\QuenmoorLite"));
}

TEST(RegistryRecords, ConnSettingsLayout) {
  ConnSettings settings;
  settings.proxyServer = "proxy.example.org";
  settings.proxyPort = 8080;
  settings.proxyUser = "r\xC3\xA9my";
  settings.proxyPassword = "secret";
  settings.useProxy = 1;
  const QByteArray expected = Layout(264, {{0, "proxy.example.org"},
                                           {128, QByteArray::fromHex("901f0000")},
                                           {132, "r\xC3\xA9my"},
                                           {196, "secret"},
                                           {260, QByteArray::fromHex("01000000")}});
  EXPECT_EQ(settings.ToBytes(), expected);

  const ConnSettings read = ConnSettings::FromBytes(expected);
  EXPECT_EQ(read.proxyServer, settings.proxyServer);
  EXPECT_EQ(read.proxyPort, 8080);
  EXPECT_EQ(read.proxyUser, settings.proxyUser);
  EXPECT_EQ(read.proxyPassword, settings.proxyPassword);
  EXPECT_EQ(read.useProxy, 1);
}

TEST(RegistryRecords, SyncInfoLayout) {
  SyncInfo info;
  info.changeDetectionMinutes = 1;
  info.backSyncMinutes = -2;
  info.webServiceUrl = "http://sync.example.org:8080/tw/";
  const QByteArray expected = Layout(264, {{0, QByteArray::fromHex("01000000")},
                                           {4, QByteArray::fromHex("feffffff")},
                                           {8, "http://sync.example.org:8080/tw/"}});
  EXPECT_EQ(info.ToBytes(), expected);

  const SyncInfo read = SyncInfo::FromBytes(expected);
  EXPECT_EQ(read.changeDetectionMinutes, 1);
  EXPECT_EQ(read.backSyncMinutes, -2);
  EXPECT_EQ(read.webServiceUrl, info.webServiceUrl);
}

TEST(RegistryRecords, DeskInfoLayout) {
  DeskInfo info;
  info.desktopName = "DESK-7";
  info.deviceId = "device@example.org";
  info.devicePassword = "p\xE2\x82\xAC";
  info.deviceType = 0x0204;
  const QByteArray expected = Layout(452, {{0, "DESK-7"},
                                           {128, "device@example.org"},
                                           {256, "p\xE2\x82\xAC"},
                                           {384, QByteArray::fromHex("0402")}});
  EXPECT_EQ(info.ToBytes(), expected);

  // The reserved bytes are not read, and a longer (still padded) buffer reads the same.
  QByteArray stored = expected;
  stored.replace(386, 66, QByteArray(66, '\x7F'));
  const DeskInfo read = DeskInfo::FromBytes(stored + QByteArray(12, '\0'));
  EXPECT_EQ(read.desktopName, info.desktopName);
  EXPECT_EQ(read.deviceId, info.deviceId);
  EXPECT_EQ(read.devicePassword, info.devicePassword);
  EXPECT_EQ(read.deviceType, 0x0204);
}

TEST(RegistryRecords, LongTextsAreCutAtACharacterBoundaryInsideTheirField) {
  DeskInfo info;
  info.desktopName = QByteArray(126, 'a') + "\xC3\xA9";  // é would take bytes 126 and 127
  info.deviceId = QByteArray(300, 'b');
  const QByteArray bytes = info.ToBytes();
  EXPECT_EQ(bytes.mid(0, 128), QByteArray(126, 'a') + QByteArray(2, '\0'));
  EXPECT_EQ(bytes.mid(128, 128), QByteArray(127, 'b') + '\0');
  EXPECT_EQ(bytes.mid(256, 128), QByteArray(128, '\0'));
  EXPECT_EQ(DeskInfo::FromBytes(bytes).desktopName, QByteArray(126, 'a'));
}

TEST(RegistryRecords, FieldsWithoutTheirZeroAreReadWithinTheirWidth) {
  const QByteArray full(264, 'x');
  const ConnSettings settings = ConnSettings::FromBytes(full);
  EXPECT_EQ(settings.proxyServer, QByteArray(128, 'x'));
  EXPECT_EQ(settings.proxyUser, QByteArray(64, 'x'));
  EXPECT_EQ(settings.proxyPassword, QByteArray(64, 'x'));
  EXPECT_EQ(SyncInfo::FromBytes(full).webServiceUrl, QByteArray(256, 'x'));
  EXPECT_EQ(DeskInfo::FromBytes(QByteArray(452, 'y')).devicePassword, QByteArray(128, 'y'));
}
