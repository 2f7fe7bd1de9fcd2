#include "admin/foundation/DatabseConnection.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/Failure.h"
#include "admin/foundation/FailureSink.h"
#include "admin/foundation/OdbcUtilities.h"
#include "platform/odbc/OdbcConfig.h"
#include "platform/odbc/OdbcText.h"
#include "shared/contract/DataSourceNames.h"
#include "shared/odbc/CatalogQuery.h"
#include "shared/odbc/FileMakerDsn.h"
#include "shared/odbc/OdbcConnect.h"
#include "shared/odbc/OdbcStatement.h"

#include <sqlext.h>

#include <algorithm>
#include <array>

namespace {

// Schemas of the engine's own procedures, which no profile calls: SQL Server's and PostgreSQL's.
bool IsSystemProcedureSchema(const QString& schema) {
  static const QStringList kSystemSchemas = {QStringLiteral("sys"), QStringLiteral("pg_catalog"),
                                             QStringLiteral("information_schema")};
  return kSystemSchemas.contains(schema, Qt::CaseInsensitive);
}

bool g_bMySqlDataSource = false;

// The catalogs and schemas that hold the engines' own tables: SQL Server's, and those of MySQL
// and MariaDB (catalogs there) and PostgreSQL.
bool IsSystemSchema(const QString& name) {
  static const QStringList kSystemSchemas = {QStringLiteral("sys"), QStringLiteral("INFORMATION_SCHEMA"),
                                             QStringLiteral("performance_schema"), QStringLiteral("mysql"),
                                             QStringLiteral("pg_catalog")};
  return kSystemSchemas.contains(name, Qt::CaseInsensitive);
}

bool SameCatalogName(const QString& found, const QString& wanted) {
  return found.compare(wanted, Qt::CaseInsensitive) == 0;
}

// A procedure name without the version number some drivers append after ";".
QString WithoutVersion(const QString& name) {
  const qsizetype semicolon = name.lastIndexOf(u';');
  return semicolon < 0 ? name : name.left(semicolon);
}

void SetError(QString* error, const QString& text) {
  if (error != nullptr) *error = text;
}

QString CatalogFailureText(const CatalogQuery& query) {
  return FormatOdbcDiagnostics(query.Diagnostic(), OdbcTextForm::ConnectFailure);
}

// Appends the text of `column` of every row the query fetches; the count appended.
int AppendAll(CatalogQuery* query, SQLUSMALLINT column, QStringList* names) {
  int count = 0;
  while (query->Fetch()) {
    names->append(query->Text(column));
    ++count;
  }
  return count;
}

// Result columns of the catalog functions that the lookups read, by their ODBC names.
namespace tables {
constexpr SQLUSMALLINT kCatalog = 1;  // TABLE_CAT
constexpr SQLUSMALLINT kSchema = 2;   // TABLE_SCHEM
constexpr SQLUSMALLINT kName = 3;     // TABLE_NAME
constexpr SQLUSMALLINT kType = 4;     // TABLE_TYPE
}  // namespace tables
namespace procedures {
constexpr SQLUSMALLINT kSchema = 2;  // PROCEDURE_SCHEM
constexpr SQLUSMALLINT kName = 3;    // PROCEDURE_NAME
}  // namespace procedures
namespace columns {
constexpr SQLUSMALLINT kTableName = 3;   // TABLE_NAME
constexpr SQLUSMALLINT kColumnName = 4;  // COLUMN_NAME
constexpr SQLUSMALLINT kDataType = 5;    // DATA_TYPE
}  // namespace columns
namespace procedureColumns {
constexpr SQLUSMALLINT kProcedureName = 3;  // PROCEDURE_NAME
constexpr SQLUSMALLINT kColumnName = 4;     // COLUMN_NAME
constexpr SQLUSMALLINT kColumnType = 5;     // COLUMN_TYPE
constexpr SQLUSMALLINT kDataType = 6;       // DATA_TYPE
}  // namespace procedureColumns
namespace specialColumns {
constexpr SQLUSMALLINT kColumnName = 2;  // COLUMN_NAME
}  // namespace specialColumns
namespace primaryKeys {
constexpr SQLUSMALLINT kColumnName = 4;  // COLUMN_NAME
}  // namespace primaryKeys
namespace typeInfo {
constexpr SQLUSMALLINT kDataType = 2;       // DATA_TYPE
constexpr SQLUSMALLINT kCaseSensitive = 8;  // CASE_SENSITIVE
}  // namespace typeInfo

}  // namespace

QString CDatabseConnection::FileMakerDataSourceName() { return datasources::kAdminFileMakerProfile; }

CDatabseConnection::CDatabseConnection() { NewEnvironmentAndConnection(true); }

CDatabseConnection::~CDatabseConnection() {
  if (m_bConnected) DisconnectDataSource();
  m_connection.reset();
  m_environment.reset();
}

void CDatabseConnection::NewEnvironmentAndConnection(bool loginTimeout) {
  Track(::NewEnvironmentAndConnection(&m_environment, &m_connection, loginTimeout));
}

QString CDatabseConnection::FileMakerDatabaseName(const QString& path) {
  const qsizetype separator = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
  const QString fileName = path.mid(separator + 1);
  return fileName.chopped(std::min<qsizetype>(4, fileName.size()));
}

int CDatabseConnection::ConnectDataSource(const QString& dataSourceName, uint8_t kind, const QString& pathOrName,
                                          const QString& user, const QString& password, QString* error,
                                          bool readOnly) {
  if (m_bConnected) DisconnectDataSource();
  m_strDataSourceName.clear();
  if (!m_connection) NewEnvironmentAndConnection(true);
  if (!m_connection) {
    SetError(error, QStringLiteral("Failed to connect to database.\n\nNo ODBC connection handle could be made."));
    return 0;
  }
  Track(SetAccessMode(m_connection.get(), readOnly));
  switch (kind) {
    case sourcekind::kNamedDataSource:
      return ConnectNamedSource(pathOrName, user, password, error);
    case sourcekind::kFileMaker:
      return ConnectFileMaker(dataSourceName, pathOrName, user, password, error);
    default:
      return ConnectFile(dataSourceName, kind, pathOrName, error);
  }
}

int CDatabseConnection::ConnectNamedSource(const QString& name, const QString& user, const QString& password,
                                           QString* error) {
  g_bMySqlDataSource = IsMySqlDataSource(name);
  if (GetDataSourceDriver(name).contains(u"DataDirect 32-BIT SequeLink")) NewEnvironmentAndConnection(true);
  return Connect(name, sourcekind::kNamedDataSource, user, password, error);
}

int CDatabseConnection::ConnectFileMaker(const QString& dataSourceName, const QString& path, const QString& user,
                                         const QString& password, QString* error) {
  if (!admin::CreateFileMakerDsn(FileMakerDatabaseName(path), dataSourceName)) return 0;
  const QString usedPassword = password.contains(u"Q:\\Vorn") ? QString() : password;
  NewEnvironmentAndConnection(true);
  return Connect(dataSourceName, sourcekind::kFileMaker, user, usedPassword, error);
}

int CDatabseConnection::ConnectFile(const QString& dataSourceName, uint8_t kind, const QString& path,
                                    QString* error) {
  if (!RegisterTemporaryDataSource(dataSourceName, kind, path, error)) return 0;
  m_strDataSourceName = dataSourceName;
  return ConnectRegisteredFile(dataSourceName, kind, error);
}

int CDatabseConnection::ConnectRegisteredFile(const QString& dataSourceName, uint8_t kind, QString* error) {
  QString problem;
  const SQLRETURN result = Track(ConnectFileDataSource(m_connection.get(), dataSourceName, &problem));
  if (!problem.isEmpty()) {
    RemoveTemporaryDataSource(kind);
    SetError(error, QStringLiteral("Failed to connect to database.\n\n%1").arg(problem));
    return 0;
  }
  return FinishConnect(result, kind, error);
}

int CDatabseConnection::Connect(const QString& dataSourceName, uint8_t kind, const QString& user,
                                const QString& password, QString* error) {
  if (kind == sourcekind::kNamedDataSource) m_strDataSourceName = dataSourceName;
  const SQLRETURN result = Track(ConnectDataSourceName(m_connection.get(), dataSourceName, user, password));
  return FinishConnect(result, kind, error);
}

int CDatabseConnection::FinishConnect(SQLRETURN result, uint8_t kind, QString* error) {
  if (SQL_SUCCEEDED(result)) {
    m_nSourceKind = kind;
    m_bConnected = true;
    return 1;
  }
  if (error != nullptr) {
    *error = FormatOdbcDiagnostics(ReadOdbcDiagRecord(SQL_HANDLE_DBC, m_connection.get()), OdbcTextForm::ConnectFailure);
  }
  m_bConnected = false;
  RemoveTemporaryDataSource(kind);
  return 0;
}

void CDatabseConnection::RemoveTemporaryDataSource(uint8_t kind) {
  if (kind == sourcekind::kNamedDataSource) return;
  if (kind == sourcekind::kFileMaker) {
    DeleteDsnKey(FileMakerDataSourceName());
    return;
  }
  if (!m_strDataSourceName.isEmpty()) platform::RemoveDataSource(m_strDataSourceName);
}

void CDatabseConnection::DisconnectDataSource() {
  if (m_connection) Track(SQLDisconnect(m_connection.get()));
  if (m_nSourceKind > sourcekind::kNamedDataSource && m_bConnected) RemoveTemporaryDataSource(m_nSourceKind);
  m_bConnected = false;
}

SQLRETURN CDatabseConnection::ExecuteStatement(const QString& sql) {
  m_lastStatementDiagnostic = {};
  platform::OdbcHandle statement = NewCursorStatement(m_connection.get());
  if (!statement) {
    m_lastStatementDiagnostic = ReadOdbcDiagRecord(SQL_HANDLE_DBC, m_connection.get());
    return Track(SQL_ERROR);
  }
  SQLRETURN result = Track(SQLPrepareW(statement.get(), platform::SqlText(sql), SQL_NTS));
  if (SQL_SUCCEEDED(result)) result = Track(SQLExecute(statement.get()));
  if (result == SQL_ERROR) m_lastStatementDiagnostic = ReadOdbcDiagRecord(SQL_HANDLE_STMT, statement.get());
  // An UPDATE or DELETE that matches no row has done what was asked.
  return result == SQL_NO_DATA ? SQL_SUCCESS : result;
}

QString CDatabseConnection::InfoText(SQLUSMALLINT infoType) const {
  std::array<SQLWCHAR, 128> text{};
  SQLSMALLINT length = 0;
  if (!m_connection || !SQL_SUCCEEDED(SQLGetInfoW(m_connection.get(), infoType, text.data(),
                                                  static_cast<SQLSMALLINT>(sizeof text), &length))) {
    return {};
  }
  return platform::FromSqlTextZ(text.data(), static_cast<qsizetype>(text.size()));
}

QString CDatabseConnection::GetProductName() const { return m_bConnected ? InfoText(SQL_DBMS_NAME) : QString(); }

QString CDatabseConnection::SearchPattern(const QString& name) {
  const QString escapeText = InfoText(SQL_SEARCH_PATTERN_ESCAPE);
  if (escapeText.isEmpty()) return name;
  QString pattern;
  for (const QChar character : name) {
    if (character == u'_' || character == u'%') pattern += escapeText;
    pattern += character;
  }
  return pattern;
}

CatalogQuery CDatabseConnection::Catalog(std::initializer_list<CatalogQuery::Column> columns) {
  return CatalogQuery(m_connection.get(), columns, &m_nLastReturnCode);
}

int CDatabseConnection::GetTableList(QStringList* names, QStringList* schemas, QStringList* types, int request) {
  const bool worksheets = m_nSourceKind == sourcekind::kXls;
  QString typeText;
  if (request == 1) {
    typeText = worksheets ? QStringLiteral("TABLE,SYSTEM TABLE") : QStringLiteral("TABLE");
  } else if (request == 2) {
    typeText = QStringLiteral("VIEW");
  } else {
    typeText = worksheets ? QStringLiteral("TABLE,VIEW,SYSTEM TABLE") : QStringLiteral("TABLE,VIEW");
  }
  CatalogQuery query = Catalog({{tables::kCatalog, 256}, {tables::kSchema, 256}, {tables::kName, 256},
                                {tables::kType, 256}});
  if (!query.Run([&typeText](SQLHSTMT statement) {
        return SQLTablesW(statement, nullptr, 0, nullptr, 0, nullptr, 0, platform::SqlText(typeText), SQL_NTS);
      })) {
    return 0;
  }
  int count = 0;
  while (query.Fetch()) {
    if (IsSystemSchema(query.Text(tables::kSchema)) || IsSystemSchema(query.Text(tables::kCatalog))) continue;
    names->append(query.Text(tables::kName));
    schemas->append(query.Text(tables::kSchema));
    types->append(query.Text(tables::kType));
    ++count;
  }
  return count;
}

int CDatabseConnection::GetProcedureList(QStringList* names) {
  CatalogQuery query = Catalog({{procedures::kSchema, 256}, {procedures::kName, 256}});
  if (!query.Run([](SQLHSTMT statement) {
        return SQLProceduresW(statement, nullptr, 0, nullptr, 0, platform::SqlText(QStringLiteral("%")), SQL_NTS);
      })) {
    return 0;
  }
  int count = 0;
  while (query.Fetch()) {
    if (IsSystemProcedureSchema(query.Text(procedures::kSchema))) continue;
    names->append(WithoutVersion(query.Text(procedures::kName)));
    ++count;
  }
  return count;
}

bool CDatabseConnection::RunColumns(CatalogQuery* query, const QString& table) {
  const QString pattern = SearchPattern(table);
  return query->Run([&pattern](SQLHSTMT statement) {
    return SQLColumnsW(statement, nullptr, 0, nullptr, 0, platform::SqlText(pattern), SQL_NTS, nullptr, 0);
  });
}

int CDatabseConnection::GetColumnList(const QString& table, QStringList* names, QList<int16_t>* types) {
  CatalogQuery query = Catalog({{columns::kTableName, 256}, {columns::kColumnName, 130},
                                {columns::kDataType, CatalogQuery::kInteger}});
  if (!RunColumns(&query, table)) return 0;
  int count = 0;
  while (query.Fetch()) {
    if (!SameCatalogName(query.Text(columns::kTableName), table)) continue;
    const SQLSMALLINT dataType = query.Integer(columns::kDataType);
    names->append(query.Text(columns::kColumnName));
    types->append(IsSupportedSqlType(dataType) ? dataType : SQL_UNKNOWN_TYPE);
    ++count;
  }
  return count;
}

int CDatabseConnection::GetProcedureColumnList(const QString& procedure, QStringList* names, QList<int16_t>* kinds,
                                               QList<int16_t>* types) {
  CatalogQuery query = Catalog({{procedureColumns::kProcedureName, 256}, {procedureColumns::kColumnName, 130},
                                {procedureColumns::kColumnType, CatalogQuery::kInteger},
                                {procedureColumns::kDataType, CatalogQuery::kInteger}});
  const QString pattern = SearchPattern(procedure);
  // No column name asks for every column ("%" makes the PostgreSQL driver find none).
  if (!query.Run([&pattern](SQLHSTMT statement) {
        return SQLProcedureColumnsW(statement, nullptr, 0, nullptr, 0, platform::SqlText(pattern), SQL_NTS, nullptr,
                                    0);
      })) {
    return 0;
  }
  int count = 0;
  while (query.Fetch()) {
    if (!SameCatalogName(WithoutVersion(query.Text(procedureColumns::kProcedureName)), procedure)) continue;
    names->append(query.Text(procedureColumns::kColumnName));
    kinds->append(query.Integer(procedureColumns::kColumnType));
    types->append(query.Integer(procedureColumns::kDataType));
    ++count;
  }
  return count;
}

bool CDatabseConnection::AreColumnTypesSupported(const QString& table) {
  const QString name = QString(table).remove(u'"');
  CatalogQuery query = Catalog({{columns::kTableName, 256}, {columns::kDataType, CatalogQuery::kInteger}});
  if (!RunColumns(&query, name)) return false;
  while (query.Fetch()) {
    if (SameCatalogName(query.Text(columns::kTableName), name) &&
        !IsSupportedSqlType(query.Integer(columns::kDataType))) {
      return false;
    }
  }
  return true;
}

int CDatabseConnection::GetSpecialColumnList(const QString& table, QStringList* names) {
  CatalogQuery query = Catalog({{specialColumns::kColumnName, 130}});
  if (!query.Run([&table](SQLHSTMT statement) {
        return SQLSpecialColumnsW(statement, SQL_BEST_ROWID, nullptr, 0, nullptr, 0, platform::SqlText(table), SQL_NTS,
                                  SQL_SCOPE_CURROW, SQL_NO_NULLS);
      })) {
    WriteAppLog(91, CatalogFailureText(query));
    return 0;
  }
  return AppendAll(&query, specialColumns::kColumnName, names);
}

int CDatabseConnection::GetPrimaryKeyList(const QString& table, QStringList* names) {
  CatalogQuery query = Catalog({{primaryKeys::kColumnName, 130}});
  if (!query.Run([&table](SQLHSTMT statement) {
        return SQLPrimaryKeysW(statement, nullptr, 0, nullptr, 0, platform::SqlText(table), SQL_NTS);
      })) {
    admin::RaiseFailure({0, -1, CatalogFailureText(query), admin::FailureLook::Plain, query.Diagnostic()});
    return 0;
  }
  return AppendAll(&query, primaryKeys::kColumnName, names);
}

std::optional<int> CDatabseConnection::FindListedType(const QString& dataType) {
  CatalogQuery query = Catalog({{typeInfo::kDataType, CatalogQuery::kInteger},
                                {typeInfo::kCaseSensitive, CatalogQuery::kInteger}});
  if (!query.Run([](SQLHSTMT statement) { return SQLGetTypeInfoW(statement, SQL_ALL_TYPES); })) {
    WriteAppLog(-1, CatalogFailureText(query));
    return std::nullopt;
  }
  while (query.Fetch()) {
    if (QString::number(query.Integer(typeInfo::kDataType)) == dataType) return query.Integer(typeInfo::kCaseSensitive);
  }
  return std::nullopt;
}

int CDatabseConnection::GetTypeCaseSensitivity(const QString& dataType, int* caseSensitive) {
  const std::optional<int> listed = FindListedType(dataType);
  if (!listed) return 0;
  *caseSensitive = *listed;
  return 1;
}

std::optional<SQLSMALLINT> CDatabseConnection::FindColumnType(const QString& table, const QString& column) {
  CatalogQuery query = Catalog({{columns::kTableName, 256}, {columns::kColumnName, 130},
                                {columns::kDataType, CatalogQuery::kInteger}});
  if (!RunColumns(&query, table)) return std::nullopt;
  while (query.Fetch()) {
    if (SameCatalogName(query.Text(columns::kTableName), table) && query.Text(columns::kColumnName) == column)
      return query.Integer(columns::kDataType);
  }
  return std::nullopt;
}

int CDatabseConnection::GetTypeInfoList(const QString& table, const QString& column) {
  const std::optional<SQLSMALLINT> dataType = FindColumnType(table, column);
  if (!dataType || !FindListedType(QString::number(*dataType))) return 0;
  return *dataType;
}

bool CDatabseConnection::IsMySqlDataSource(const QString& name) { return IsMySqlDriver(GetDataSourceDriver(name)); }

bool CDatabseConnection::IsMySqlDriver(const QString& driverDescription) { return ::IsMySqlDriver(driverDescription); }

bool CDatabseConnection::IsFoxProDataSource(const QString& name) {
  return GetDataSourceDriver(name).contains(u"FoxPro");
}

bool CDatabseConnection::GetMySqlFlag() { return g_bMySqlDataSource; }
