#pragma once

#include "sync/data/DatabseConnection.h"

#include <QString>

#include <cstdint>

// What the sync program's settings-table classes share: their own connection to the settings
// database, the connected flag, the report of a failed connect and the selection text. A class
// that keeps a statement frees it in ReleaseStatement, before its connection goes, and closes the
// database in its own destructor (the base's cannot reach ReleaseStatement any more).
class SettingsTable {
 public:
  virtual ~SettingsTable();
  SettingsTable(const SettingsTable&) = delete;
  SettingsTable& operator=(const SettingsTable&) = delete;

  // Closes an open connection first; 1 when connected, else 0 with the failure reported.
  int ConnectDatabase();
  void CloseDatabase();

  bool IsConnected() const { return m_nConnected == 1; }
  // A failed connect's text, for the classes that keep it rather than log it.
  const QString& GetErrorText() const { return m_strError; }
  // The selection text of the last InitializeTable.
  const QString& GetLastSelection() const { return m_strSelection; }

 protected:
  enum class ConnectReport { Log, ErrorText };

  // `connectLabel` ends "Failed to Connect User Profile Database in <label>.".
  SettingsTable(QString tableName, QString connectLabel, ConnectReport report);

  // "Select * From <table>", and a blank and `clause` when there is one; kept as the last selection.
  const QString& MakeSelection(const QString& clause);
  // "Failed to Initialize <table>, Database not connected.".
  QString NotConnectedText() const;
  const QString& TableName() const { return m_strTableName; }
  syncservice::CDatabseConnection& Connection() { return m_connection; }

  virtual void ReleaseStatement() {}

 private:
  void ReportConnectFailure(const QString& driverError);

  syncservice::CDatabseConnection m_connection;
  int32_t m_nConnected = 0;
  QString m_strError;
  QString m_strSelection;
  const QString m_strTableName;
  const QString m_strConnectLabel;
  const ConnectReport m_report;
};
