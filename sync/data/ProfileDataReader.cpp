#include "sync/data/ProfileDataReader.h"

#include "shared/contract/DataSourceNames.h"
#include "shared/data/ProfileSourcePlan.h"
#include "shared/odbc/OdbcDiagnostics.h"
#include "shared/odbc/QueryText.h"
#include "sync/data/ExcelSheetCleanup.h"

namespace syncservice {

namespace {

// Kinds past the table are read as workbooks too.
bool UsesAutomation(const data::ProfileSourcePlan& plan) {
  return plan.workbookModel || plan.kind > sourcekind::kOtherFile;
}

}  // namespace

ProfileDataReader::~ProfileDataReader() { CloseProfileSource(m_bAutomation); }

int ProfileDataReader::OpenProfileSource(QString* errorOut) {
  const data::ProfileSourcePlan plan =
      data::PlanProfileSource(m_profile, static_cast<uint8_t>(m_profile.DBType.toLong() & 0xFF));
  m_nSourceKind = plan.kind;
  CloseProfileSource(UsesAutomation(plan));
  if (plan.procedure) m_bProcedure = true;
  if (m_bAutomation) return OpenWorkbookSource(plan.source, errorOut);
  return OpenOdbcSource(plan.source, errorOut);
}

int ProfileDataReader::OpenWorkbookSource(const QString& source, QString* errorOut) {
  QString copy = source;
  QString error;
  if (!DeleteEmptyRowsInExcelSheets(&copy, m_profile.DB_DSN)) error = QStringLiteral("Unable To Connect");
  m_bConnected = error.isEmpty() && m_excelConnection.OpenWorkbook(copy, &error, true) == 1;
  if (!m_bConnected) *errorOut = QStringLiteral("Failed to Connect User's Excel Profile Database.") + error;
  return m_bConnected ? 1 : 0;
}

int ProfileDataReader::OpenOdbcSource(const QString& source, QString* errorOut) {
  const QString name = m_bBackSync ? datasources::kBackSyncProfile : datasources::kSyncProfile;
  QString error;
  m_bConnected = ConnectDataSource(name, m_nSourceKind, source, m_profile.UserName, m_profile.Password, &error,
                                   false) == 1;
  if (!m_bConnected) {
    *errorOut = QStringLiteral("Failed to Connect User's Profile Database.") + error;
    return 0;
  }
  if (!m_bProcedure) m_tableHandler.SetLogTarget(m_bBackSync ? 1 : 0);
  return 1;
}

int ProfileDataReader::ExecuteProfileQuery(QString* errorOut) {
  if (!m_bConnected) return 0;
  QString error;
  if (m_bAutomation) {
    m_bExecuted = ExecuteOnSheet();
  } else if (m_bProcedure) {
    m_bExecuted = m_procHandler.Initialize(*this, m_profile.Query, &error) == 1;
    m_nRowCount = m_procHandler.GetRowCount();
    m_nColumnCount = m_procHandler.GetColumnCount();
  } else {
    m_bExecuted = m_tableHandler.Initialize(*this, m_profile.Query, &error) == 1;
    m_nRowCount = m_tableHandler.GetRowCount();
    m_nColumnCount = m_tableHandler.GetColumnCount();
  }
  if (!m_bExecuted) *errorOut = QStringLiteral("Unable to Fetch Contents of User's Profile.") + error;
  return m_bExecuted ? 1 : 0;
}

bool ProfileDataReader::ExecuteOnSheet() {
  if (m_excelHandler.OpenWorksheet(m_excelConnection.GetWorksheets(), m_profile.Query) != 1) return false;
  m_nRowCount = m_excelHandler.GetRowCount();
  m_nColumnCount = m_excelHandler.GetColumnCount();
  return true;
}

void ProfileDataReader::CloseProfileSource(bool useAutomation) {
  if (m_bAutomation) {
    m_excelConnection.CloseWorkbook();
  } else {
    if (m_bProcedure) {
      m_procHandler.CloseStatement();
    } else {
      m_tableHandler.UnbindColumns();
      m_tableHandler.CloseStatement();
    }
    if (IsConnected()) DisconnectDataSource();
  }
  m_bConnected = false;
  m_bExecuted = false;
  m_nRowCount = 0;
  m_nColumnCount = 0;
  m_bAutomation = useAutomation;
}

int32_t ProfileDataReader::GetRecordCount() const { return m_bExecuted ? m_nRowCount : 0; }

int16_t ProfileDataReader::GetColumnCount() const { return m_bExecuted ? m_nColumnCount : 0; }

QString ProfileDataReader::GetProfileColumnName(int16_t column) {
  if (!IsExecuted()) return {};
  if (m_bAutomation) return m_excelHandler.GetColumnName(column);
  if (m_bProcedure) return m_procHandler.GetColumnName(column);
  return m_tableHandler.GetColumnName(column);
}

CDBHandler& ProfileDataReader::GetColumnHandler() {
  if (m_bAutomation) return m_excelHandler;
  if (m_bProcedure) return m_procHandler;
  return m_tableHandler;
}

void ProfileDataReader::BindColumns() {
  if (IsTableProfile()) m_tableHandler.BindColumns();
}

void ProfileDataReader::UnbindColumns() {
  if (IsTableProfile()) m_tableHandler.UnbindColumns();
}

int ProfileDataReader::FetchRecord(int32_t row, QByteArray* record, uint8_t digest[kRowDigestSize]) {
  if (!IsExecuted()) return 0;
  if (m_bAutomation) return m_excelHandler.ReadRecord(row, record, digest);
  if (m_bProcedure) return m_procHandler.FetchRecord(row, record, digest);
  return m_tableHandler.ReadRecord(row, record, digest);
}

int ProfileDataReader::FetchDigest(int32_t row, uint8_t digest[kRowDigestSize]) {
  if (!IsExecuted()) return 0;
  if (IsTableProfile()) return m_tableHandler.ReadDigest(row, digest);
  m_nFetchedLength = FetchRecord(row, &m_fetchedRecord, digest);
  return m_nFetchedLength == 0 ? 0 : 1;
}

int ProfileDataReader::EncodeFetchedRecord(QByteArray* record) const {
  if (IsTableProfile()) return m_tableHandler.EncodeReadRow(record);
  *record = m_fetchedRecord;
  return m_nFetchedLength;
}

int ProfileDataReader::AddRecord(QByteArrayView record, uint8_t digest[kRowDigestSize], QString* errorOut) {
  return m_tableHandler.AddRecord(record, digest, errorOut);
}

int ProfileDataReader::UpdateRecord(QByteArrayView record, int32_t row, QString* errorOut,
                                    uint8_t digest[kRowDigestSize], const uint8_t* expectedDigest) {
  return m_tableHandler.UpdateRecord(record, row, digest, errorOut, m_profile.DBType, expectedDigest);
}

int ProfileDataReader::DeleteRecord(QString* errorOut, int32_t row, const uint8_t* expectedDigest) {
  return m_tableHandler.DeleteRecord(row, errorOut, expectedDigest);
}

int ProfileDataReader::GetAutoNumberColumns(QList<int16_t>* columns) {
  if (!IsTableProfile()) return 0;
  int count = 0;
  for (int16_t column = 0; column < GetColumnCount(); ++column) {
    if (m_tableHandler.IsAutoNumberColumn(column) != 1) continue;
    columns->append(column);
    ++count;
  }
  return count;
}

QStringList ProfileDataReader::KeyColumnNames() {
  const QString table = GetTableNameFromQuery(m_profile.Query);
  const QString driver = GetDataSourceDriver(m_profile.DB_DSN);
  QStringList names;
  if (driver.contains(u"Oracle") || driver.contains(u"PostgreSQL")) {
    m_tableHandler.GetPrimaryKeyList(*this, table, &names);
    return names;
  }
  m_tableHandler.GetSpecialColumnList(*this, table, &names);
  return names;
}

int ProfileDataReader::GetPrimaryKeyColumns(QList<int16_t>* columns) {
  if (!IsTableProfile()) return 0;
  int count = 0;
  for (const QString& name : KeyColumnNames()) {
    for (int16_t column = 0; column < GetColumnCount(); ++column) {
      if (m_tableHandler.GetColumnName(column) != name) continue;
      columns->append(column);
      ++count;
      break;
    }
  }
  return count;
}

}  // namespace syncservice
