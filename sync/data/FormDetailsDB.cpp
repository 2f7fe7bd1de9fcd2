#include "sync/data/FormDetailsDB.h"

#include "platform/odbc/OdbcText.h"
#include "shared/contract/SettingsTables.h"
#include "sync/data/WholeText.h"

#include <sqlext.h>

namespace {

constexpr SQLUSMALLINT kTabTitleColumn = 3;
constexpr SQLUSMALLINT kTabFormInfoColumn = 4;

}  // namespace

CFormDetailsDB::CFormDetailsDB()
    : SettingsTable(settingsdb::kFormDetails, QStringLiteral("FormDetailsDB"), ConnectReport::Log) {
  ConnectDatabase();
}

CFormDetailsDB::~CFormDetailsDB() { CloseDatabase(); }

int CFormDetailsDB::InitializeTable(const QString& clause, QString* errorOut) {
  if (!IsConnected()) {
    *errorOut = NotConnectedText();
    return 0;
  }
  const QString& selection = MakeSelection(clause);
  m_statement = platform::OdbcHandle::Allocate(SQL_HANDLE_STMT, Connection().GetConnectionHandle());
  if (!m_statement) {
    Track(SQL_ERROR);
    return 1;
  }
  Track(SQLSetStmtAttr(m_statement.get(), SQL_ATTR_CURSOR_TYPE, reinterpret_cast<SQLPOINTER>(SQL_CURSOR_DYNAMIC), 0));
  Track(SQLSetStmtAttr(m_statement.get(), SQL_ATTR_CONCURRENCY, reinterpret_cast<SQLPOINTER>(SQL_CONCUR_LOCK), 0));
  Track(SQLPrepareW(m_statement.get(), platform::SqlText(selection), SQL_NTS));
  Track(SQLExecute(m_statement.get()));
  m_strTabTitle.clear();
  m_strTabFormInfo.clear();
  BindIds();
  return 1;
}

void CFormDetailsDB::BindIds() {
  Track(SQLBindCol(m_statement.get(), 1, SQL_C_LONG, &m_nFormID, sizeof(m_nFormID), &m_nIndicator));
  Track(SQLBindCol(m_statement.get(), 2, SQL_C_LONG, &m_nTabID, sizeof(m_nTabID), &m_nIndicator));
}

int CFormDetailsDB::GetRecordCount() {
  if (!IsConnected() || !m_statement) return 0;
  int count = 0;
  for (SQLSMALLINT orientation = SQL_FETCH_FIRST; Fetch(orientation) == SQL_SUCCESS; orientation = SQL_FETCH_NEXT) {
    ++count;
  }
  return count;
}

int CFormDetailsDB::MoveToRecord(int32_t row) {
  if (!IsConnected() || !m_statement) return 0;
  if (SQL_SUCCEEDED(Fetch(row == 0 ? SQL_FETCH_FIRST : SQL_FETCH_NEXT))) {
    m_strTabTitle = syncservice::ReadWholeText(m_statement.get(), kTabTitleColumn, &m_nLastReturnCode);
    m_strTabFormInfo = syncservice::ReadWholeText(m_statement.get(), kTabFormInfoColumn, &m_nLastReturnCode);
  }
  return 0;
}

FormDetailsRow CFormDetailsDB::ReadRecord(int32_t row) {
  if (!IsConnected()) return {};
  MoveToRecord(row);
  return {m_nFormID, m_nTabID, m_strTabTitle, m_strTabFormInfo};
}
