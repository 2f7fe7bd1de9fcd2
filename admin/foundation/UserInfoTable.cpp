#include "admin/foundation/UserInfoTable.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/DatabseConnection.h"
#include "admin/foundation/FailureSink.h"
#include "platform/odbc/OdbcText.h"
#include "shared/contract/SettingsTables.h"
#include "shared/odbc/OdbcDiagnostics.h"
#include "shared/odbc/OdbcStatement.h"

#include <sqlext.h>

#include <algorithm>

namespace {

constexpr int kColumnCount = 8;
constexpr int kAddLocation = 103;
constexpr int kUpdateLocation = 102;

QString TableName() { return QStringLiteral("UserInfo"); }

template <size_t N>
QString BufferText(const std::array<SQLWCHAR, N>& buffer, SQLLEN indicator) {
  if (indicator == SQL_NULL_DATA) return {};
  return platform::FromSqlTextZ(buffer.data(), static_cast<qsizetype>(N));
}

// A text parameter as it goes into the bound buffer: cut to what the buffer holds, NULL when empty.
struct TextParameter {
  QString text;
  SQLLEN indicator = SQL_NULL_DATA;

  TextParameter(const QString& value, int bufferChars) : text(value.left(bufferChars - 1)) {
    if (!text.isEmpty()) indicator = static_cast<SQLLEN>(text.size() * sizeof(SQLWCHAR));
  }
};

SQLRETURN BindText(SQLHSTMT statement, SQLUSMALLINT number, TextParameter* parameter) {
  const SQLULEN chars = std::max<SQLULEN>(1, static_cast<SQLULEN>(parameter->text.size()));
  return SQLBindParameter(statement, number, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, chars, 0,
                          platform::SqlText(parameter->text), static_cast<SQLLEN>(chars * sizeof(SQLWCHAR)),
                          &parameter->indicator);
}

}  // namespace

bool UserInfoRow::IsRemoved() const { return StatusFlag == QStringLiteral("D") || StatusFlag == QStringLiteral("DEL"); }

UserInfoTable::UserInfoTable(admin::CDatabseConnection& settings) : m_settings(settings) {}

int32_t UserInfoTable::LoadUserInfo() {
  m_statement.reset();
  m_bOpen = false;
  m_nRowCount = 0;
  if (!m_settings.IsConnected()) return 0;
  m_statement = NewCursorStatement(m_settings.GetConnectionHandle());
  if (!m_statement) return 0;
  const QString sql = QStringLiteral("Select * from UserInfo");
  if (!SQL_SUCCEEDED(SQLPrepareW(m_statement.get(), platform::SqlText(sql), SQL_NTS)) ||
      !SQL_SUCCEEDED(SQLExecute(m_statement.get())) || !BindRow()) {
    WriteAppLog(-1, QStringLiteral("<UserInfoTable> <LoadUserInfo> ") +
                        FormatOdbcDiagnostics(ReadOdbcDiagRecord(SQL_HANDLE_STMT, m_statement.get()),
                                              OdbcTextForm::Diagnostic));
    m_statement.reset();
    return 0;
  }
  // A row fetched with a warning (a text cut to its buffer) is a row all the same.
  for (SQLRETURN fetched = SQLFetchScroll(m_statement.get(), SQL_FETCH_FIRST, 0); SQL_SUCCEEDED(fetched);
       fetched = SQLFetchScroll(m_statement.get(), SQL_FETCH_NEXT, 0))
    ++m_nRowCount;
  QList<int16_t> types;
  m_columnNames.clear();
  m_settings.GetColumnList(TableName(), &m_columnNames, &types);
  m_bOpen = true;
  return m_nRowCount;
}

bool UserInfoTable::BindRow() {
  struct Binding {
    SQLSMALLINT type;
    SQLPOINTER value;
    SQLLEN length;
  };
  const Binding bindings[kColumnCount] = {
      {SQL_C_WCHAR, m_row.texts[0].data(), sizeof(m_row.texts[0])},
      {SQL_C_WCHAR, m_row.texts[1].data(), sizeof(m_row.texts[1])},
      {SQL_C_WCHAR, m_row.texts[2].data(), sizeof(m_row.texts[2])},
      {SQL_C_WCHAR, m_row.texts[3].data(), sizeof(m_row.texts[3])},
      {SQL_C_WCHAR, m_row.flag.data(), sizeof(m_row.flag)},
      {SQL_C_SLONG, &m_row.syncOption, 0},
      {SQL_C_SLONG, &m_row.syncInterval, 0},
      {SQL_C_UTINYINT, &m_row.deviceType, 0},
  };
  for (SQLUSMALLINT column = 0; column < kColumnCount; ++column) {
    const Binding& binding = bindings[column];
    if (!SQL_SUCCEEDED(SQLBindCol(m_statement.get(), column + 1, binding.type, binding.value, binding.length,
                                  &m_row.indicators[column])))
      return false;
  }
  return true;
}

bool UserInfoTable::EnsureLoaded() {
  if (!m_bOpen) LoadUserInfo();
  return m_bOpen;
}

UserInfoRow UserInfoTable::RowFromBuffer() const {
  UserInfoRow row;
  row.PIN = BufferText(m_row.texts[0], m_row.indicators[0]);
  row.Name = BufferText(m_row.texts[1], m_row.indicators[1]);
  row.Designation = BufferText(m_row.texts[2], m_row.indicators[2]);
  row.Department = BufferText(m_row.texts[3], m_row.indicators[3]);
  row.StatusFlag = BufferText(m_row.flag, m_row.indicators[4]);
  row.SyncOption = m_row.indicators[5] == SQL_NULL_DATA ? 0 : m_row.syncOption;
  row.SyncInterval = m_row.indicators[6] == SQL_NULL_DATA ? 0 : m_row.syncInterval;
  row.DeviceType = m_row.indicators[7] == SQL_NULL_DATA ? 0 : m_row.deviceType;
  return row;
}

bool UserInfoTable::GetRow(int32_t row, UserInfoRow* out) {
  if (!m_bOpen || row < 1 || row > m_nRowCount) return false;
  if (!SQL_SUCCEEDED(SQLFetchScroll(m_statement.get(), SQL_FETCH_ABSOLUTE, row))) return false;
  *out = RowFromBuffer();
  return true;
}

QList<UserInfoRow> UserInfoTable::Rows() {
  QList<UserInfoRow> rows;
  if (!EnsureLoaded()) return rows;
  UserInfoRow row;
  for (int32_t number = 1; GetRow(number, &row); ++number) rows.append(row);
  return rows;
}

bool UserInfoTable::IsPinPresent(const QString& pin) {
  const QList<UserInfoRow> rows = Rows();
  return std::any_of(rows.begin(), rows.end(), [&pin](const UserInfoRow& row) {
    return !row.IsRemoved() && row.PIN.compare(pin, Qt::CaseInsensitive) == 0;
  });
}

QString UserInfoTable::FindOnlyRemovedPin(const QString& pin) {
  QString removed;
  for (const UserInfoRow& row : Rows()) {
    if (row.PIN.compare(pin, Qt::CaseInsensitive) != 0) continue;
    if (!row.IsRemoved()) return {};
    if (removed.isEmpty()) removed = row.PIN;
  }
  return removed;
}

int UserInfoTable::AddUserInfo(const UserInfoRow& row) {
  if (!EnsureLoaded()) return 0;
  const QString removedPin = FindOnlyRemovedPin(row.PIN);
  if (!removedPin.isEmpty()) return Write(UpdateText(), row, &removedPin, kAddLocation);
  return Write(InsertText(), row, nullptr, kAddLocation);
}

int UserInfoTable::UpdateUserInfo(const UserInfoRow& row) {
  if (!EnsureLoaded()) return 0;
  const QList<UserInfoRow> rows = Rows();
  const bool found =
      std::any_of(rows.begin(), rows.end(), [&row](const UserInfoRow& stored) { return stored.PIN == row.PIN; });
  if (!found) {
    admin::RaiseFailure({0, std::nullopt, QStringLiteral("User with Device PIN : %1 is not available.").arg(row.PIN),
                         admin::FailureLook::Error, std::nullopt});
    return 0;
  }
  return Write(UpdateText(), row, &row.PIN, kUpdateLocation);
}

int UserInfoTable::Write(const QString& sql, const UserInfoRow& row, const QString* where, int location) {
  // The reading statement goes first, so that it holds nothing the write waits for.
  m_statement.reset();
  m_bOpen = false;
  const std::optional<admin::Failure> failure = WriteRow(sql, row, where, location);
  if (!failure) return 1;
  admin::RaiseFailure(*failure);
  return 0;
}

std::optional<admin::Failure> UserInfoTable::WriteRow(const QString& sql, const UserInfoRow& row,
                                                      const QString* where, int location) {
  const auto failed = [location](const OdbcDiagRecord& diagnostic) {
    return admin::Failure{0, location, FormatOdbcDiagnostics(diagnostic, OdbcTextForm::Diagnostic),
                          admin::FailureLook::Plain, diagnostic};
  };
  platform::OdbcHandle statement = platform::OdbcHandle::Allocate(SQL_HANDLE_STMT, m_settings.GetConnectionHandle());
  if (!statement) return failed(ReadOdbcDiagRecord(SQL_HANDLE_DBC, m_settings.GetConnectionHandle()));
  SQLHSTMT handle = statement.get();
  TextParameter texts[] = {{row.PIN, kTextChars},         {row.Name, kTextChars},
                           {row.Designation, kTextChars}, {row.Department, kTextChars},
                           {row.StatusFlag, kFlagChars},  {where ? *where : QString(), kTextChars}};
  SQLINTEGER syncOption = row.SyncOption;
  SQLINTEGER syncInterval = row.SyncInterval;
  SQLCHAR deviceType = row.DeviceType;
  SQLLEN integerIndicator = sizeof(SQLINTEGER);
  SQLLEN byteIndicator = 1;
  SQLRETURN result = SQLPrepareW(handle, platform::SqlText(sql), SQL_NTS);
  for (SQLUSMALLINT number = 1; number <= 5 && SQL_SUCCEEDED(result); ++number)
    result = BindText(handle, number, &texts[number - 1]);
  if (SQL_SUCCEEDED(result))
    result =
        SQLBindParameter(handle, 6, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0, &syncOption, 0, &integerIndicator);
  if (SQL_SUCCEEDED(result))
    result = SQLBindParameter(handle, 7, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0, &syncInterval, 0,
                              &integerIndicator);
  if (SQL_SUCCEEDED(result))
    result =
        SQLBindParameter(handle, 8, SQL_PARAM_INPUT, SQL_C_UTINYINT, SQL_TINYINT, 0, 0, &deviceType, 0, &byteIndicator);
  if (SQL_SUCCEEDED(result) && where != nullptr) result = BindText(handle, 9, &texts[5]);
  if (SQL_SUCCEEDED(result)) result = SQLExecute(handle);
  if (!SQL_SUCCEEDED(result)) return failed(ReadOdbcDiagRecord(SQL_HANDLE_STMT, handle));
  return std::nullopt;
}

QString UserInfoTable::InsertText() const {
  const QStringList names = m_columnNames.mid(0, kColumnCount);
  QStringList quoted;
  for (const QString& name : names) quoted.append(u'[' + name + u']');
  return QStringLiteral("INSERT INTO %1 (%2) VALUES (?, ?, ?, ?, ?, ?, ?, ?)")
      .arg(settingsdb::kUserInfo)
      .arg(quoted.join(QStringLiteral(", ")));
}

QString UserInfoTable::UpdateText() const {
  const QStringList names = m_columnNames.mid(0, kColumnCount);
  QStringList assignments;
  for (const QString& name : names) assignments.append(u'[' + name + QStringLiteral("] = ?"));
  return QStringLiteral("UPDATE %1 SET %2 WHERE [%3] = ?")
      .arg(settingsdb::kUserInfo)
      .arg(assignments.join(QStringLiteral(", ")), names.value(0));
}
