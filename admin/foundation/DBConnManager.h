#pragma once

#include "admin/foundation/DatabaseHandler.h"
#include "admin/foundation/DatabseConnection.h"
#include "admin/foundation/ExcelConnection.h"
#include "admin/foundation/ExcelHandler.h"

#include <QString>
#include <QStringList>

#include <cstdint>

// The source of the profile wizard's table and query pages: a workbook read sheet by sheet, or
// an ODBC source (a data source name or a desktop file) opened read-only with one query on it.
class CDBConnManager {
 public:
  // Connects `pathOrName` as a source of `kind` (a profile's DBType): 1 connected, else 0 with
  // the reason in `error` (when given). Closes what was open first.
  int ConnectByType(const QString& pathOrName, const QString& user, const QString& password, QString* error,
                    uint8_t kind);
  // Runs the query, or finds the worksheet of that name: 1 when it did. Else 0, and with `error`
  // given the reason goes there and into the log.
  int FetchContents(QString* error, const QString& queryOrSheet);
  // The rows of the last fetch; none unless connected and executed.
  admin::CDBHandler* GetActiveHandler();
  // Closes whatever is open; the workbook flag becomes `nextWorkbookFlag`.
  void CloseConnection(bool nextWorkbookFlag);

  bool IsConnected() const { return m_bConnected; }
  // The ODBC connection, whose diagnostics tell why a connect of an ODBC source failed.
  SQLHDBC GetConnectionHandle() const { return m_connection.GetConnectionHandle(); }
  // The ODBC connection, for the catalogue of the source the pages list.
  admin::CDatabseConnection& GetConnection() { return m_connection; }
  bool IsWorkbook() const { return m_bWorkbook; }
  // The worksheets of a workbook opened as such; 0 for any other source.
  int GetWorksheetList(QStringList* names, QStringList* schemas, QStringList* types) const {
    return m_bWorkbook ? m_excelConnection.GetWorksheetList(names, schemas, types) : 0;
  }
  int32_t GetRowCount() const { return m_nRowCount; }

 private:
  int ConnectOdbcSource(const QString& pathOrName, const QString& user, const QString& password, QString* error,
                        uint8_t kind);
  bool FetchSheet(const QString& name);
  bool FetchQuery(const QString& query);

  admin::CDatabseConnection m_connection;
  admin::CExcelConnection m_excelConnection;
  admin::CDatabaseHandler m_handler;
  admin::CExcelHandler m_excelHandler;
  bool m_bWorkbook = false;
  bool m_bConnected = false;
  bool m_bExecuted = false;
  int32_t m_nRowCount = 0;
};
