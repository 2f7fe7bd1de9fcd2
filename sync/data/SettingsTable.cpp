#include "sync/data/SettingsTable.h"

#include "shared/RegistrySettings.h"
#include "shared/contract/DataSourceNames.h"
#include "shared/contract/InstallLayout.h"
#include "sync/data/SyncLog.h"

#include <utility>

namespace {

constexpr uint8_t kAccessDriver = 1;

}  // namespace

SettingsTable::SettingsTable(QString tableName, QString connectLabel, ConnectReport report)
    : m_strTableName(std::move(tableName)), m_strConnectLabel(std::move(connectLabel)), m_report(report) {}

SettingsTable::~SettingsTable() { CloseDatabase(); }

int SettingsTable::ConnectDatabase() {
  CloseDatabase();
  const QString database = GetInstallationPath() + installlayout::kDbFolder + installlayout::kSettingsDatabase;
  QString driverError;
  if (m_connection.ConnectDataSource(datasources::kSyncSettings, kAccessDriver, database, QString(),
                                     datasources::kSettingsDatabasePassword, &driverError, false) == 1) {
    m_nConnected = 1;
    return 1;
  }
  m_nConnected = 0;
  ReportConnectFailure(driverError);
  return 0;
}

void SettingsTable::CloseDatabase() {
  if (!IsConnected()) return;
  ReleaseStatement();
  if (m_connection.IsConnected()) m_connection.DisconnectDataSource();
  m_nConnected = 0;
}

void SettingsTable::ReportConnectFailure(const QString& driverError) {
  const QString text = QStringLiteral("Failed to Connect User Profile Database in ") + m_strConnectLabel + u'.';
  if (m_report == ConnectReport::ErrorText) {
    m_strError = text + driverError;
    return;
  }
  WriteSyncServiceLog(-1, text);
  WriteSyncServiceLog(-1, driverError);
}

const QString& SettingsTable::MakeSelection(const QString& clause) {
  m_strSelection = QStringLiteral("Select * From ") + m_strTableName;
  if (!clause.isEmpty()) m_strSelection += u' ' + clause;
  return m_strSelection;
}

QString SettingsTable::NotConnectedText() const {
  return QStringLiteral("Failed to Initialize ") + m_strTableName + QStringLiteral(", Database not connected.");
}
