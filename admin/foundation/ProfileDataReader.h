#pragma once

#include "admin/foundation/DBHandlerForUserProfileDB.h"
#include "admin/foundation/DatabseConnection.h"
#include "admin/foundation/ExcelConnection.h"
#include "admin/foundation/ExcelHandler.h"
#include "shared/data/ProfileRecord.h"

#include <QString>

#include <cstdint>

namespace admin {

// Opens the source of a stored profile and runs its query, for the form designer and the form
// code: a workbook's sheet, or the profile's query on its ODBC source (opened read-only).
class ProfileDataReader {
 public:
  // The profile to read; the caller fills it before OpenProfileSource. Opening a workbook read
  // through its text export points the query at the export's "New_" files.
  ProfileRecord& Profile() { return m_profile; }
  const ProfileRecord& Profile() const { return m_profile; }

  // 1 when the profile's source opened; else 0, with the reason in the log. Closes what was open.
  int OpenProfileSource();
  // 1 when the query ran (for a workbook: the sheet named by the query was found); else 0, with
  // the reason in the log.
  int ExecuteProfileQuery();
  // Empty unless connected and executed.
  QString GetProfileColumnName(int16_t column);
  // The SQL type the source reports for the column (a workbook's are all text); 0 unless
  // connected and executed.
  int16_t GetProfileColumnSqlType(int16_t column);
  // The rows of the query; none unless connected and executed.
  CDBHandler* GetActiveHandler();
  // Closes whatever is open; the workbook flag becomes `nextWorkbookFlag`.
  void CloseProfileSource(bool nextWorkbookFlag);

  bool IsConnected() const { return m_bConnected; }
  bool IsWorkbook() const { return m_bWorkbook; }
  int32_t GetRowCount() const { return m_nRowCount; }
  int16_t GetColumnCount() const { return m_nColumnCount; }

 private:
  int ConnectOdbcSource(uint8_t kind, const QString& source, QString* error);
  bool ExecuteOnSheet();
  bool ExecuteOnOdbcSource();
  CDBHandler& HandlerInUse();
  bool IsExecuted() const { return m_bConnected && m_bExecuted; }

  CDatabseConnection m_connection;
  CDBHandlerForUserProfileDB m_handler;
  CExcelConnection m_excelConnection;
  CExcelHandler m_excelHandler;
  bool m_bWorkbook = false;
  bool m_bConnected = false;
  bool m_bExecuted = false;
  int32_t m_nRowCount = 0;
  int16_t m_nColumnCount = 0;
  ProfileRecord m_profile;
};

}  // namespace admin
