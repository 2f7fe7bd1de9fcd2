#include "admin/foundation/ProfileDataReader.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/ProfileQueryText.h"
#include "admin/foundation/ProfileSources.h"
#include "shared/data/ProfileSourcePlan.h"

#include <limits>

namespace admin {

namespace {

constexpr int kOdbcConnectFailureLogCode = 95;
constexpr int kWorkbookConnectFailureLogCode = 96;
constexpr int kQueryFailureLogCode = 98;

bool ParseSourceKind(const QString& text, uint8_t* kind) {
  bool parsed = false;
  const int value = text.trimmed().toInt(&parsed);
  if (!parsed || value < 0 || value > std::numeric_limits<uint8_t>::max()) return false;
  *kind = static_cast<uint8_t>(value);
  return true;
}

}  // namespace

int ProfileDataReader::OpenProfileSource() {
  uint8_t kind = 0;
  if (!ParseSourceKind(m_profile.DBType, &kind)) {
    CloseProfileSource(false);
    const QString problem = QStringLiteral("The profile's source kind \"%1\" is not a number from 0 to 255.");
    WriteAppLog(kOdbcConnectFailureLogCode, problem.arg(m_profile.DBType));
    return 0;
  }
  const data::ProfileSourcePlan plan = data::PlanProfileSource(m_profile, kind);
  // The export's text files are named "New_" + sheet.
  if (plan.workbookExport) m_profile.Query = QueryOnWorkbookExport(m_profile.Query);
  CloseProfileSource(plan.workbookModel);
  QString error;
  if (m_bWorkbook) {
    m_bConnected = m_excelConnection.OpenWorkbook(&error, true, plan.source) == 1;
    if (!m_bConnected) WriteAppLog(kWorkbookConnectFailureLogCode, error);
  } else {
    m_bConnected = ConnectOdbcSource(plan.kind, plan.source, &error) == 1;
    if (!m_bConnected) WriteAppLog(kOdbcConnectFailureLogCode, error);
  }
  return m_bConnected ? 1 : 0;
}

int ProfileDataReader::ConnectOdbcSource(uint8_t kind, const QString& source, QString* error) {
  return m_connection.ConnectDataSource(DataSourceNameOfKind(kind), kind,
                                        source, m_profile.UserName, m_profile.Password, error, true);
}

int ProfileDataReader::ExecuteProfileQuery() {
  if (m_bConnected) {
    m_bExecuted = m_bWorkbook ? ExecuteOnSheet() : ExecuteOnOdbcSource();
    m_nRowCount = m_bExecuted ? HandlerInUse().GetRowCount() : 0;
    m_nColumnCount = m_bExecuted ? HandlerInUse().GetColumnCount() : int16_t{0};
  }
  if (!m_bExecuted) {
    WriteAppLog(kQueryFailureLogCode,
                m_bConnected && !m_bWorkbook ? m_handler.GetConnectFailureText() : kUnableToFetchContents);
  }
  return m_bExecuted ? 1 : 0;
}

// For a workbook the query is the name of the sheet to read.
bool ProfileDataReader::ExecuteOnSheet() {
  return m_excelHandler.OpenWorksheet(m_excelConnection.GetWorksheetsDriver(), m_profile.Query) == 1;
}

bool ProfileDataReader::ExecuteOnOdbcSource() { return m_handler.ExecuteQuery(m_connection, m_profile.Query) == 1; }

CDBHandler& ProfileDataReader::HandlerInUse() {
  if (m_bWorkbook) return m_excelHandler;
  return m_handler;
}

QString ProfileDataReader::GetProfileColumnName(int16_t column) {
  if (!IsExecuted() || column < 0 || column >= m_nColumnCount) return {};
  return HandlerInUse().GetColumnName(column);
}

int16_t ProfileDataReader::GetProfileColumnSqlType(int16_t column) {
  if (!IsExecuted()) return 0;
  // Every worksheet column is text, and its kind is the SQL type too.
  return m_bWorkbook ? m_excelHandler.GetColumnType(column) : m_handler.GetColumnSqlType(column);
}

CDBHandler* ProfileDataReader::GetActiveHandler() { return IsExecuted() ? &HandlerInUse() : nullptr; }

void ProfileDataReader::CloseProfileSource(bool nextWorkbookFlag) {
  // A detached handler lets go of the worksheets, which keep the workbook alive.
  m_excelHandler = CExcelHandler();
  m_excelConnection.CloseWorkbook();
  m_handler.CloseStatement();
  if (m_connection.IsConnected()) m_connection.DisconnectDataSource();
  m_bConnected = false;
  m_bExecuted = false;
  m_nRowCount = 0;
  m_nColumnCount = 0;
  m_bWorkbook = nextWorkbookFlag;
}

}  // namespace admin
