#include "sync/data/DBHandlerForUserDB.h"

#include "shared/odbc/ColumnKind.h"
#include "shared/odbc/QueryText.h"
#include "sync/data/DatabseConnection.h"
#include "sync/data/SyncLog.h"

#include <sqlext.h>

#include <cstdio>
#include <cstring>

namespace {

// The longest texts the write buffers take: 65,535 bytes for a text, the column size and 50
// characters for a decimal.
constexpr qsizetype kMaxWrittenTextUnits = 32767;

// A write failure's text goes to the console as well.
void PrintFailure(const QString& text) {
  std::fputs((text + u'\n').toUtf8().constData(), stdout);
  std::fflush(stdout);
}

}  // namespace

CDBHandlerForUserDB::~CDBHandlerForUserDB() {
  StopReadingAhead();
  m_buffers.Unbind(Statement());
}

void CDBHandlerForUserDB::StopReadingAhead() {
  m_readAhead.reset();
  m_bHoldsLastReadRow = false;
}

void CDBHandlerForUserDB::BindColumns() { BindColumnsTo(&m_buffers, ColumnKinds()); }

void CDBHandlerForUserDB::UnbindColumns() {
  StopReadingAhead();
  m_buffers.Unbind(Statement());
}

int CDBHandlerForUserDB::Initialize(const syncservice::CDatabseConnection& connection, const QString& query, QString* error) {
  StopReadingAhead();
  m_buffers.Unbind(Statement());
  m_nLastReadRow = -1;
  m_pConnection = &connection;
  m_strQuery = query;
  if (ExecuteQuery(connection, query) == 1) return 1;
  *error = QStringLiteral("Failed to Initialize User's Profile Database.");
  return 0;
}

bool CDBHandlerForUserDB::Position(int32_t row) {
  if (row == 0) return FetchNext(0) == 1;
  if (row == m_nLastReadRow) return m_bHoldsLastReadRow || MoveToRow(row) == 1;
  return FetchNext(row) == 1;
}

bool CDBHandlerForUserDB::DigestOf(int32_t row, uint8_t digest[kRowDigestSize]) {
  if (IsForwardOnly()) {
    if (!m_readAhead) {
      // From here the statement and the bound buffers are the read-ahead's fetching thread's
      // until StopReadingAhead.
      m_readAhead = std::make_unique<syncservice::ReadAheadRows>(GetRowCount(), [this](data::FetchedRow* next) {
        if (FetchNext(1) != 1) return false;
        m_buffers.Capture(next);
        return true;
      });
    }
    return m_readAhead->Digest(row, digest);
  }
  m_bHoldsLastReadRow = Position(row);
  if (m_bHoldsLastReadRow) ComputeTextDigest(m_buffers.RowText(), digest);
  return m_bHoldsLastReadRow;
}

int CDBHandlerForUserDB::ReadDigest(int32_t row, uint8_t digest[kRowDigestSize]) {
  if (!IsOpen() || row < 0 || row >= GetRowCount()) return 0;
  if (!m_buffers.IsBound()) BindColumns();
  const bool fetched = DigestOf(row, digest);
  m_nLastReadRow = row;
  if (!fetched) {
    WriteSyncServiceLog(-1, QStringLiteral("Failed to Read Record No. %1.").arg(row) + GetOdbcErrorText());
    return 0;
  }
  return 1;
}

QList<devicerecord::Value> CDBHandlerForUserDB::ReadRowValues() const {
  return m_readAhead ? m_readAhead->Row(m_nLastReadRow).Values() : m_buffers.Values();
}

int CDBHandlerForUserDB::EncodeReadRow(QByteArray* record) const {
  const std::optional<QByteArray> encoded = devicerecord::Encode(ReadRowValues());
  if (!encoded) {
    WriteLog(-1, QStringLiteral("Record No. %1 is too long for a device record and is not sent.").arg(m_nLastReadRow));
    return devicerecord::kRecordNotEncodable;
  }
  *record = *encoded;
  return static_cast<int>(record->size());
}

int CDBHandlerForUserDB::ReadRecord(int32_t row, QByteArray* record, uint8_t digest[kRowDigestSize]) {
  return ReadDigest(row, digest) == 1 ? EncodeReadRow(record) : 0;
}

std::optional<QList<devicerecord::Value>> CDBHandlerForUserDB::DecodeReceived(QByteArrayView record, QString* reason) {
  QList<int16_t> kinds;
  QList<int16_t> sizes;
  for (int16_t i = 0; i < GetColumnCount(); ++i) {
    if (GetColumnType(i) == ColumnKind::Unsupported) continue;
    kinds.append(GetColumnType(i));
    sizes.append(GetColumnSize(i));
  }
  std::optional<QList<devicerecord::Value>> values = devicerecord::Decode(record, kinds, reason);
  if (!values) return std::nullopt;
  for (qsizetype j = 0; j < values->size(); ++j) {
    const qsizetype limit = kinds.at(j) == ColumnKind::Numeric ? sizes.at(j) + 50 : kMaxWrittenTextUnits;
    if (values->at(j).text.size() > limit) {
      *reason = QStringLiteral("The text of column %1 is longer than the column takes.").arg(j + 1);
      return std::nullopt;
    }
  }
  return values;
}

syncservice::RowWriter CDBHandlerForUserDB::MakeWriter() {
  // The reader takes the name out of its quotes: the writer quotes names itself.
  const QString table = GetTableNameFromQuery(m_strQuery);
  QStringList keys;
  GetPrimaryKeyList(*m_pConnection, table, &keys);
  std::vector<syncservice::WriteColumn> columns;
  for (int16_t i = 0; i < GetColumnCount(); ++i) {
    if (GetColumnType(i) == ColumnKind::Unsupported) continue;
    const QString name = GetColumnName(i);
    columns.push_back({name, GetColumnType(i), GetColumnSize(i), GetColumnDecimalDigits(i), IsAutoNumberColumn(i) == 1,
                       keys.contains(name, Qt::CaseInsensitive)});
  }
  // A key the query does not select cannot find the row: every column finds it then.
  if (static_cast<qsizetype>(std::count_if(columns.begin(), columns.end(),
                                           [](const syncservice::WriteColumn& c) { return c.key; })) != keys.size()) {
    for (syncservice::WriteColumn& column : columns) column.key = false;
  }
  return syncservice::RowWriter(m_pConnection->GetConnectionHandle(), table, m_strQuery, std::move(columns),
                                ColumnKinds());
}

bool CDBHandlerForUserDB::PositionForWrite(int32_t row) {
  if (!IsOpen() || row < 0) return false;
  if (!m_buffers.IsBound()) BindColumns();
  StopReadingAhead();
  m_nLastReadRow = -1;
  if (FetchNext(0) != 1) return false;
  for (int32_t at = 0; at < row; ++at) {
    if (FetchNext(at + 1) != 1) return false;
  }
  return true;
}

bool CDBHandlerForUserDB::HasExpectedDigest(const uint8_t* expectedDigest) const {
  if (expectedDigest == nullptr) return true;
  uint8_t current[kRowDigestSize];
  ComputeTextDigest(m_buffers.RowText(), current);
  return std::memcmp(current, expectedDigest, kRowDigestSize) == 0;
}

int CDBHandlerForUserDB::AddRecord(QByteArrayView record, uint8_t digest[kRowDigestSize], QString* error) {
  return AddRecord(record, digest, nullptr, error);
}

int CDBHandlerForUserDB::AddRecord(QByteArrayView record, uint8_t digest[kRowDigestSize],
                                   QList<devicerecord::Value>* stored, QString* error) {
  QString reason;
  const std::optional<QList<devicerecord::Value>> values = DecodeReceived(record, &reason);
  if (!values || !MakeWriter().Insert(*values, digest, &reason, stored)) {
    *error = QStringLiteral("Failed to add Record with Key .") + reason;
    PrintFailure(reason);
    return 0;
  }
  return 1;
}

int CDBHandlerForUserDB::UpdateRecord(QByteArrayView record, int32_t row, uint8_t digest[kRowDigestSize],
                                      QString* error, const QString& dbType, const uint8_t* expectedDigest) {
  QString reason;
  const std::optional<QList<devicerecord::Value>> values = DecodeReceived(record, &reason);
  if (!values) {
    *error = QStringLiteral("Failed to update Record with key .") + reason;
    return 0;
  }
  if (!PositionForWrite(row)) {
    *error = QStringLiteral("Record with key  to be updated is not exists in database.");
    return 0;
  }
  if (!HasExpectedDigest(expectedDigest)) {
    *error = QStringLiteral("Record with key  to be updated was changed at the desktop.");
    return 0;
  }
  syncservice::RowWriter writer = MakeWriter();
  const QList<devicerecord::Value> current = m_buffers.Values();
  const bool writeAutoNumber = dbType == u"9";
  const bool positioned =
      WritesPositioned(SQL_CA1_POS_UPDATE) && FitsBuffers(writer, *values, current, writeAutoNumber);
  const bool written = positioned ? UpdatePositioned(writer, *values, current, writeAutoNumber, &reason) &&
                                        writer.ReadStored(writer.Merged(*values, current, writeAutoNumber), digest,
                                                          &reason)
                                  : writer.Update(*values, current, writeAutoNumber, digest, &reason);
  if (!written) {
    *error = QStringLiteral("Failed to update Record with key .") + reason;
    PrintFailure(reason);
    return 0;
  }
  return 1;
}

int CDBHandlerForUserDB::DeleteRecord(int32_t row, QString* error, const uint8_t* expectedDigest) {
  if (!PositionForWrite(row)) {
    *error = QStringLiteral("Record with key  to be deleted is not exists in database.");
    return 0;
  }
  if (!HasExpectedDigest(expectedDigest)) {
    *error = QStringLiteral("Record with key  to be deleted was changed at the desktop.");
    return 0;
  }
  QString reason;
  const bool deleted = WritesPositioned(SQL_CA1_POS_DELETE) ? SetPosition(SQL_DELETE, &reason)
                                                               : MakeWriter().Delete(m_buffers.Values(), &reason);
  if (!deleted) {
    *error = QStringLiteral("Failed to delete Record with key  .") + reason;
    PrintFailure(reason);
    return 0;
  }
  return 1;
}

bool CDBHandlerForUserDB::WritesByKey() { return IsOpen() && MakeWriter().ByKey(); }

bool CDBHandlerForUserDB::FindRows(const QSet<QByteArray>& digests,
                                   QHash<QByteArray, QList<devicerecord::Value>>* found) {
  if (!IsOpen()) return false;
  if (!m_buffers.IsBound()) BindColumns();
  m_nLastReadRow = -1;
  uint8_t digest[kRowDigestSize];
  for (int32_t row = 0; row < GetRowCount(); ++row) {
    if (!DigestOf(row, digest)) return false;
    m_nLastReadRow = row;
    const QByteArray key = QByteArray::fromRawData(reinterpret_cast<const char*>(digest), kRowDigestSize);
    if (digests.contains(key) && !found->contains(key)) {
      found->insert(QByteArray(key.constData(), key.size()), ReadRowValues());
    }
  }
  return true;
}

int CDBHandlerForUserDB::ReadByKey(const syncservice::RowWriter& writer, const QList<devicerecord::Value>& row,
                                   const uint8_t* expectedDigest, const char* action,
                                   QList<devicerecord::Value>* stored, QString* error) const {
  uint8_t digest[kRowDigestSize];
  QString reason;
  if (!writer.ReadStored(row, digest, &reason, stored)) {
    *error = QStringLiteral("Record with key  to be %1 is not exists in database.").arg(QLatin1String(action));
    return 0;
  }
  if (expectedDigest != nullptr && std::memcmp(digest, expectedDigest, kRowDigestSize) != 0) {
    *error = QStringLiteral("Record with key  to be %1 was changed at the desktop.").arg(QLatin1String(action));
    return 0;
  }
  return 1;
}

int CDBHandlerForUserDB::UpdateRecordByKey(QByteArrayView record, QList<devicerecord::Value>* row,
                                           uint8_t digest[kRowDigestSize], QString* error, const QString& dbType,
                                           const uint8_t* expectedDigest) {
  QString reason;
  const std::optional<QList<devicerecord::Value>> values = DecodeReceived(record, &reason);
  if (!values) {
    *error = QStringLiteral("Failed to update Record with key .") + reason;
    return 0;
  }
  syncservice::RowWriter writer = MakeWriter();
  QList<devicerecord::Value> current;
  if (ReadByKey(writer, *row, expectedDigest, "updated", &current, error) != 1) return 0;
  if (!writer.Update(*values, current, dbType == u"9", digest, &reason, row)) {
    *error = QStringLiteral("Failed to update Record with key .") + reason;
    PrintFailure(reason);
    return 0;
  }
  return 1;
}

int CDBHandlerForUserDB::DeleteRecordByKey(const QList<devicerecord::Value>& row, QString* error,
                                           const uint8_t* expectedDigest) {
  syncservice::RowWriter writer = MakeWriter();
  QList<devicerecord::Value> current;
  if (ReadByKey(writer, row, expectedDigest, "deleted", &current, error) != 1) return 0;
  QString reason;
  if (!writer.Delete(current, &reason)) {
    *error = QStringLiteral("Failed to delete Record with key  .") + reason;
    PrintFailure(reason);
    return 0;
  }
  return 1;
}

bool CDBHandlerForUserDB::WritesPositioned(SQLUINTEGER ability) const {
  SQLULEN cursorType = SQL_CURSOR_FORWARD_ONLY;
  SQLULEN concurrency = SQL_CONCUR_READ_ONLY;
  if (!SQL_SUCCEEDED(SQLGetStmtAttr(Statement(), SQL_ATTR_CURSOR_TYPE, &cursorType, 0, nullptr)) ||
      !SQL_SUCCEEDED(SQLGetStmtAttr(Statement(), SQL_ATTR_CONCURRENCY, &concurrency, 0, nullptr)) ||
      concurrency == SQL_CONCUR_READ_ONLY) {
    return false;
  }
  SQLUSMALLINT infoType = SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES1;
  if (cursorType == SQL_CURSOR_DYNAMIC) infoType = SQL_DYNAMIC_CURSOR_ATTRIBUTES1;
  if (cursorType == SQL_CURSOR_KEYSET_DRIVEN) infoType = SQL_KEYSET_CURSOR_ATTRIBUTES1;
  if (cursorType == SQL_CURSOR_STATIC) infoType = SQL_STATIC_CURSOR_ATTRIBUTES1;
  SQLUINTEGER abilities = 0;
  if (!SQL_SUCCEEDED(SQLGetInfoW(m_pConnection->GetConnectionHandle(), infoType, &abilities, sizeof abilities,
                                 nullptr))) {
    return false;
  }
  return (abilities & ability) != 0;
}

bool CDBHandlerForUserDB::FitsBuffers(const syncservice::RowWriter& writer, const QList<devicerecord::Value>& values,
                                      const QList<devicerecord::Value>& current, bool writeAutoNumber) const {
  for (qsizetype j = 0; j < values.size(); ++j) {
    const auto column = static_cast<size_t>(j);
    const size_t bound = m_buffers.ResultColumn(column);
    const bool fits = writer.Writes(column, values, current, writeAutoNumber) ? m_buffers.Fits(bound, values.at(j))
                                                                               : m_buffers.HoldsWhole(bound);
    if (!fits) return false;
  }
  return true;
}

bool CDBHandlerForUserDB::UpdatePositioned(const syncservice::RowWriter& writer,
                                           const QList<devicerecord::Value>& values,
                                           const QList<devicerecord::Value>& current, bool writeAutoNumber,
                                           QString* reason) {
  for (qsizetype j = 0; j < values.size(); ++j) {
    const auto column = static_cast<size_t>(j);
    if (writer.Writes(column, values, current, writeAutoNumber)) m_buffers.Store(m_buffers.ResultColumn(column), values.at(j));
  }
  return SetPosition(SQL_UPDATE, reason);
}

bool CDBHandlerForUserDB::SetPosition(SQLUSMALLINT operation, QString* reason) {
  if (SQL_SUCCEEDED(Track(SQLSetPos(Statement(), 1, operation, SQL_LOCK_NO_CHANGE)))) return true;
  *reason = FormatOdbcDiagnostics(ReadOdbcDiagRecord(SQL_HANDLE_STMT, Statement()), OdbcTextForm::Diagnostic);
  return false;
}
