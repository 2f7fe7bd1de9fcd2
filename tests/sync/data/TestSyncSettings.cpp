#include "shared/RegistryRecords.h"
#include "sync/data/SyncSettings.h"
#include "tests/support/SyncInstallation.h"

#include <gtest/gtest.h>

TEST(SyncSettings, CrackWebServiceUrlWordsTheErrorForTheSyncLog) {
  QString host;
  QString path;
  uint16_t port = 0;
  QString error;
  ASSERT_TRUE(syncservice::CrackWebServiceUrl(QStringLiteral("https://ws.example.com:8443/TarnwickWS/"), &host,
                                              &path, &port, &error));
  EXPECT_EQ(host, QStringLiteral("ws.example.com"));
  EXPECT_EQ(path, QStringLiteral("/TarnwickWS/"));
  EXPECT_EQ(port, 8443);
  EXPECT_TRUE(error.isEmpty());
  EXPECT_FALSE(syncservice::CrackWebServiceUrl(QStringLiteral("ftp://ws.example.com/"), &host, &path, &port, &error));
  EXPECT_EQ(error, QStringLiteral("<InternetCrackUrl> Error Code : 12006"));
}

TEST(SyncSettings, WithoutSyncInfoTheGettersFindNothing) {
  EXPECT_EQ(LoadSyncSettings(), -1);
  int32_t minutes = 77;
  EXPECT_FALSE(GetChangeDetectMinutes(&minutes));
  EXPECT_FALSE(GetBackSyncMinutes(&minutes));
  EXPECT_EQ(minutes, 77);
  QString url = QStringLiteral("x");
  EXPECT_FALSE(syncservice::GetWebServiceUrl(&url));
  EXPECT_TRUE(url.isEmpty());
  EXPECT_TRUE(GetDesktopIdAnsi().isEmpty());
  EXPECT_TRUE(GetDeviceId().isEmpty());
}

TEST(SyncSettings, LoadedFromTheSealedRecordsOnceForTheRun) {
  SyncInfo syncInfo;
  syncInfo.changeDetectionMinutes = 0;
  syncInfo.backSyncMinutes = -5;
  syncInfo.webServiceUrl = "http://ws.example.com/TarnwickWS/";
  synctest::StoreSealedRecord(QStringLiteral("SyncInfo"), syncInfo.ToBytes());
  DeskInfo deskInfo;
  deskInfo.desktopName = "Desk \xC3\xA9";
  deskInfo.deviceId = "device-7";
  synctest::StoreSealedRecord(QStringLiteral("DeskInfo"), deskInfo.ToBytes());

  EXPECT_EQ(LoadSyncSettings(), 0);
  // What was stored is what the getters answer; whether it makes an interval is the turns' call.
  int32_t minutes = 77;
  EXPECT_TRUE(GetChangeDetectMinutes(&minutes));
  EXPECT_EQ(minutes, 0);
  EXPECT_TRUE(GetBackSyncMinutes(&minutes));
  EXPECT_EQ(minutes, -5);
  QString url;
  EXPECT_TRUE(syncservice::GetWebServiceUrl(&url));
  EXPECT_EQ(url, QStringLiteral("http://ws.example.com/TarnwickWS/"));
  EXPECT_EQ(GetDesktopIdAnsi(), QByteArray("Desk \xC3\xA9"));
  EXPECT_EQ(GetDeviceId(), QStringLiteral("device-7"));

  syncInfo.webServiceUrl = "http://other/";
  synctest::StoreSealedRecord(QStringLiteral("SyncInfo"), syncInfo.ToBytes());
  syncservice::GetWebServiceUrl(&url);
  EXPECT_EQ(url, QStringLiteral("http://ws.example.com/TarnwickWS/")) << "kept from the load";
}
