#pragma once

#include "shared/data/ProfileRecord.h"
#include "sync/data/DBHandlerForUserDB.h"
#include "sync/data/DBHandlerForUserDBForProc.h"
#include "sync/data/DatabseConnection.h"
#include "sync/data/ExcelConnection.h"
#include "sync/data/ExcelHandlerForUserDB.h"
#include "sync/data/RowDigest.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <cstdint>

namespace syncservice {

// One profile's own data source as the engine works on it: an ODBC data source name, a desktop
// file behind this program's data source name, a stored procedure, or a workbook opened through
// the workbook model. It runs the profile query, hands out column names, rows as device records
// with their row digests, AutoNumber and key columns, and writes device changes into table
// profiles. One object serves one profile: fill Profile() (and SetBackSync) before opening.
class ProfileDataReader : public CDatabseConnection {
 public:
  ProfileDataReader() = default;
  ~ProfileDataReader() override;

  ProfileRecord& Profile() { return m_profile; }
  const ProfileRecord& Profile() const { return m_profile; }
  // Set on the back-synchronisation thread: its own data source name and log.
  void SetBackSync(bool backSync) { m_bBackSync = backSync; }

  // 1 when the profile's source is connected; else 0 with the reason in `errorOut`.
  int OpenProfileSource(QString* errorOut);
  // 1 when the profile query ran (for a workbook: the sheet named by the query is attached);
  // else 0 with the reason in `errorOut`.
  int ExecuteProfileQuery(QString* errorOut);
  // Closes the workbook, or the statement and the connection; the workbook flag becomes
  // `useAutomation`.
  void CloseProfileSource(bool useAutomation);

  int32_t GetRecordCount() const;
  int16_t GetColumnCount() const;
  // Empty unless connected and executed.
  QString GetProfileColumnName(int16_t column);
  // The profile's name (DBInfo), as the devices name their copy.
  QString GetProfileName() const { return m_profile.DBInfo; }
  // The handler that describes the result's columns: the worksheet's for a workbook read through
  // the workbook model, the procedure's or the table's.
  CDBHandler& GetColumnHandler();
  // The table handler's buffers; nothing for workbook and procedure profiles.
  void BindColumns();
  void UnbindColumns();

  // Row `row` as a device record and its row digest; the record's length, 0 when there is none,
  // devicerecord::kRecordNotEncodable (with the digest) when the row cannot travel to a device.
  int FetchRecord(int32_t row, QByteArray* record, uint8_t digest[kRowDigestSize]);
  // FetchRecord in two steps, so that a table row is only encoded when it goes out: the digest
  // of row `row` (1, or 0 when there is none), then the record of the row fetched last.
  int FetchDigest(int32_t row, uint8_t digest[kRowDigestSize]);
  int EncodeFetchedRecord(QByteArray* record) const;
  // Before ExecuteProfileQuery: the rows are read once, in order, and never written through
  // the cursor.
  void ReadForwardOnly() { m_tableHandler.SetForwardOnly(true); }
  // Before ExecuteProfileQuery: rows are fetched by their number, and written through the cursor.
  void ReadScrollable() { m_tableHandler.SetForwardOnly(false); }
  // Whether the table's rows are read once, in order, from each run of the query.
  bool ReadsForwardOnly() const { return IsTableProfile() && m_tableHandler.IsForwardOnly(); }

  // A device change applied to a table profile: 1 done with the stored row's digest in `digest`,
  // else 0 with the reason in `errorOut`. An update or delete is refused when `expectedDigest`
  // is given and the desktop row differs from it.
  int AddRecord(QByteArrayView record, uint8_t digest[kRowDigestSize], QString* errorOut);
  int UpdateRecord(QByteArrayView record, int32_t row, QString* errorOut, uint8_t digest[kRowDigestSize],
                   const uint8_t* expectedDigest = nullptr);
  int DeleteRecord(QString* errorOut, int32_t row, const uint8_t* expectedDigest = nullptr);
  // A batch of device changes on a table profile whose writes find rows by key: the rows it names
  // found in one read, and written by key (see CDBHandlerForUserDB).
  bool WritesByKey() { return IsTableProfile() && IsExecuted() && m_tableHandler.WritesByKey(); }
  bool FindRows(const QSet<QByteArray>& digests, QHash<QByteArray, QList<devicerecord::Value>>* found) {
    return m_tableHandler.FindRows(digests, found);
  }
  int AddRecord(QByteArrayView record, uint8_t digest[kRowDigestSize], QList<devicerecord::Value>* stored,
                QString* errorOut) {
    return m_tableHandler.AddRecord(record, digest, stored, errorOut);
  }
  int UpdateRecordByKey(QByteArrayView record, QList<devicerecord::Value>* row, uint8_t digest[kRowDigestSize],
                        QString* errorOut, const uint8_t* expectedDigest) {
    return m_tableHandler.UpdateRecordByKey(record, row, digest, errorOut, m_profile.DBType, expectedDigest);
  }
  int DeleteRecordByKey(const QList<devicerecord::Value>& row, QString* errorOut, const uint8_t* expectedDigest) {
    return m_tableHandler.DeleteRecordByKey(row, errorOut, expectedDigest);
  }

  // Indexes of the result columns the database numbers itself; their count. Table profiles only.
  int GetAutoNumberColumns(QList<int16_t>* columns);
  // Indexes of the result columns that make the key of the query's table, in key order; their
  // count. Table profiles only.
  int GetPrimaryKeyColumns(QList<int16_t>* columns);

  bool IsProcedureProfile() const { return m_bProcedure; }
  bool IsWorkbookProfile() const { return m_bAutomation; }
  bool IsProfileConnected() const { return m_bConnected; }
  // The source kind in use: the profile's DBType, 9 turned into 0.
  uint8_t GetSourceKind() const { return m_nSourceKind; }

 private:
  int OpenWorkbookSource(const QString& source, QString* errorOut);
  int OpenOdbcSource(const QString& source, QString* errorOut);
  bool ExecuteOnSheet();
  bool IsTableProfile() const { return !m_bAutomation && !m_bProcedure; }
  bool IsExecuted() const { return m_bConnected && m_bExecuted; }
  QStringList KeyColumnNames();

  CDBHandlerForUserDB m_tableHandler;
  // FetchDigest of a procedure or workbook row reads its record as well: kept for
  // EncodeFetchedRecord.
  QByteArray m_fetchedRecord;
  int m_nFetchedLength = 0;
  CDBHandlerForUserDBForProc m_procHandler;
  CExcelConnection m_excelConnection;
  CExcelHandlerForUserDB m_excelHandler;
  bool m_bProcedure = false;
  bool m_bBackSync = false;
  bool m_bAutomation = false;
  bool m_bConnected = false;
  bool m_bExecuted = false;
  int32_t m_nRowCount = 0;
  int16_t m_nColumnCount = 0;
  uint8_t m_nSourceKind = 0;
  ProfileRecord m_profile;
};

}  // namespace syncservice
