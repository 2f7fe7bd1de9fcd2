#pragma once

#include "admin/foundation/AppLog.h"
#include "admin/foundation/DatabaseHandler.h"
#include "admin/foundation/DatabseConnection.h"
#include "admin/foundation/LogFile.h"
#include "shared/RegistryRecords.h"
#include "shared/contract/RegistryNames.h"
#include "shared/data/SourceKinds.h"
#include "tests/support/AdminInstallation.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/LogReader.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/SettingsStore.h"

#include <gtest/gtest.h>

#include <QList>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>

// True when the profile has a record index (its `RI` value).
inline bool HasRecIndex(int32_t profileId) {
  return testsupport::StoredValue(registrynames::kRecordIndexKey, QString::number(profileId)).has_value();
}

// A connected copy of the shipped settings database in an installation of the administration
// program, the program's log in the machine root and a clear message-box record.
class SettingsDatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString installation = testsupport::InstallAdmin();
    const QString file = testsupport::InstallSettingsDatabase(installation);
    m_log = std::make_unique<CLogFile>(testsupport::CurrentMachineRoot() + u'/', QStringLiteral("DesktopLog.log"));
    SetAppLog(m_log.get());
    testsupport::MessageBoxRecorder::Global().Clear();
    QString error;
    ASSERT_EQ(
        m_settings.ConnectDataSource(QStringLiteral("UserProfileDSN_4_TarnwickPLite_AD"), sourcekind::kMdb,
                                     file, QString(), QStringLiteral("pondGarue58"), &error, false),
        1)
        << qPrintable(error);
  }

  void TearDown() override { SetAppLog(nullptr); }

  void Execute(const QString& sql) { ASSERT_TRUE(SQL_SUCCEEDED(m_settings.ExecuteStatement(sql))) << qPrintable(sql); }

  // Every row of `sql`, each column read whole.
  QList<QStringList> Rows(const QString& sql) {
    admin::CDatabaseHandler handler;
    handler.SetWholeTextFlag(true);
    QList<QStringList> rows;
    if (handler.ExecuteQuery(m_settings, sql) != 1) {
      ADD_FAILURE() << "query failed: " << qPrintable(sql);
      return rows;
    }
    for (int32_t row = 0; handler.MoveToRow(row); ++row) {
      QStringList values;
      for (int16_t column = 0; column < handler.GetColumnCount(); ++column)
        values.append(handler.GetFieldValue(row, column));
      rows.append(values);
    }
    return rows;
  }

  // Makes every `action` (INSERT, UPDATE or DELETE) on the table fail as a locked or damaged
  // database would.
  void Refuse(const QString& action, const QString& table) {
    Execute(QStringLiteral("CREATE TRIGGER Refuse%1%2 BEFORE %1 ON %2 BEGIN SELECT RAISE(ABORT, 'refused'); END")
                .arg(action, table));
  }
  void Allow(const QString& action, const QString& table) {
    Execute(QStringLiteral("DROP TRIGGER Refuse%1%2").arg(action, table));
  }

  // The profile's next record index (RI); nothing when none is stored.
  static std::optional<DWORD> RecordIndex(int32_t profileId) {
    const std::optional<platform::RegistryValue> value =
        testsupport::StoredValue(registrynames::kRecordIndexKey, QString::number(profileId));
    DWORD index = 0;
    if (!value || !value->ToDword(&index)) return std::nullopt;
    return index;
  }

  QList<testsupport::LogEntry> LogEntries() const { return testsupport::ReadLogEntries(m_log->FilePath()); }

  static const QList<platform::MessageBoxRequest>& Shown() { return testsupport::MessageBoxRecorder::Global().shown(); }

  admin::CDatabseConnection m_settings;
  std::unique_ptr<CLogFile> m_log;
};
