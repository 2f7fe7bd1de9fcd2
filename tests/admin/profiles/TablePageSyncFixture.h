#pragma once

// The table page's fixture with the sync program beside it: the web-service double registered as
// the web service, the real sync program started against it, and what the double's device holds.
#include "shared/RegistryRecords.h"
#include "shared/contract/RegistryNames.h"
#include "tests/admin/profiles/TablePageFixture.h"
#include "tests/support/SyncInstallation.h"
#include "tests/support/WebServiceDouble.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>

#include <algorithm>

class TablePageSyncTest : public TablePageTest {
 protected:
  // Far above what a few turns take on a loaded machine.
  static constexpr int kGenerousBoundMs = 60000;

  void TearDown() override {
    if (m_program.state() != QProcess::NotRunning) {
      synctest::SetSettingsDword(QStringLiteral("SyncServiceStatus"), 0);
      if (!m_program.waitForFinished(kGenerousBoundMs)) m_program.kill();
    }
    TablePageTest::TearDown();
  }

  // Registers the double as the web service and starts the sync program.
  void StartSyncProgram() {
    ASSERT_TRUE(m_service.Started()) << qPrintable(m_service.Error());
    SyncInfo sync;
    sync.changeDetectionMinutes = sync.backSyncMinutes = 0;
    sync.webServiceUrl = m_service.Url().toUtf8();
    synctest::StoreSealedRecord(QStringLiteral("SyncInfo"), sync.ToBytes());
    ASSERT_TRUE(testsupport::StoreSealedValue(registrynames::kSettingsKey, QStringLiteral("ConnSettings"),
                                              ConnSettings().ToBytes()));
    synctest::SetSettingsDword(QStringLiteral("SyncServiceStatus"), 1);
    ASSERT_TRUE(QDir().mkpath(GetInstallationFolder() + QStringLiteral("Desktop Files/DB/CDB Files")));
    m_program.setStandardOutputFile(QProcess::nullDevice());
    m_program.start(QStringLiteral(SYNC_PROGRAM), {});
    ASSERT_TRUE(m_program.waitForStarted());
  }
  static QString GetInstallationFolder() { return testsupport::CurrentMachineRoot() + QStringLiteral("/Tarnwick Plus/"); }

  // How many Finish Profile messages of the profile the device took.
  int Finishes(int32_t profileId) {
    constexpr int kFinishProfile = 16;
    int count = 0;
    for (const QJsonValue& entry : m_service.Device()[QStringLiteral("log")].toArray()) {
      const QJsonArray message = entry.toArray();
      if (message.size() == 2 && message[0].toInt() == kFinishProfile && message[1].toInt() == profileId) ++count;
    }
    return count;
  }

  // Once the device has taken the profile's `delivery`-th Finish Profile, it holds exactly
  // `expected` and refused nothing on the way.
  void ExpectDelivered(int32_t profileId, int delivery, const QStringList& expected) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return Finishes(profileId) >= delivery; }, kGenerousBoundMs));
    EXPECT_EQ(DeviceValues(profileId), expected);
    EXPECT_EQ(m_service.DeviceErrors(), QStringList());
  }

  // "value:value:..." of the device's records of the profile, in record order.
  QStringList DeviceValues(int32_t profileId) {
    const QJsonObject profile =
        m_service.Device()[QStringLiteral("profiles")].toObject()[QString::number(profileId)].toObject();
    QList<std::pair<int, QString>> records;
    for (const QJsonValue& value : profile[QStringLiteral("records")].toArray()) {
      const QJsonObject record = value.toObject();
      QStringList values;
      for (const QJsonValue& field : record[QStringLiteral("values")].toArray()) values << field.toVariant().toString();
      records.append({record[QStringLiteral("index")].toInt(), values.join(u':')});
    }
    std::sort(records.begin(), records.end());
    QStringList texts;
    for (const auto& record : records) texts << record.second;
    return texts;
  }

  testsupport::WebServiceDouble m_service;
  QProcess m_program;
};
