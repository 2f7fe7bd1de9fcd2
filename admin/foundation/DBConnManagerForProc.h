#pragma once

#include "admin/foundation/DatabaseHandlerForProc.h"
#include "admin/foundation/DatabseConnection.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

// The connection and record source of the profile wizard's stored-procedure page: a named data
// source, opened read-only, and the cached rows of one procedure call on it.
class CDBConnManagerForProc {
 public:
  // 1 connected, else 0 with the reason in `error`. Closes what was open first.
  int ConnectByType(const QString& dataSourceName, const QString& user, const QString& password, QString* error);
  // 1 when the call ran and its rows are cached; else 0 with the ODBC report in `error` (when
  // given), or "Unable to Fetch Contents" without a connection.
  int FetchContents(QString* error, const QString& callText);
  // Appends the name and kind of each result column of the executed call; the column count.
  int GetColumnInfoList(QStringList* names, QList<int16_t>* types);
  void CloseConnection();

  // The call's rows; none unless connected and executed.
  admin::CDBHandler* GetActiveHandler();
  int32_t GetRowCount() const { return m_nRowCount; }
  bool IsConnected() const { return m_bConnected; }
  // The connection itself, for the catalog lookups of the page.
  admin::CDatabseConnection& GetConnection() { return m_connection; }
  // The connected database product ("PostgreSQL", ...); empty when not connected.
  QString GetDbmsName() const;
  // Closes the executed call's statement; the connection stays.
  void CloseStatement();

 private:
  admin::CDatabseConnection m_connection;
  admin::CDatabaseHandlerForProc m_handler;
  bool m_bConnected = false;
  bool m_bExecuted = false;
  int32_t m_nRowCount = 0;
};
