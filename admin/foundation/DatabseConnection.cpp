#include "admin/foundation/DatabseConnection.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/Failure.h"
#include "admin/foundation/FailureSink.h"
#include "admin/foundation/OdbcUtilities.h"
#include "platform/odbc/OdbcText.h"
#include "shared/contract/DataSourceNames.h"
#include "shared/data/SourceKinds.h"
#include "shared/odbc/CatalogQuery.h"
#include "shared/odbc/FileMakerDsn.h"
#include "shared/odbc/OdbcConnect.h"
#include "shared/odbc/OdbcDiagnostics.h"

#include <sqlext.h>

#include <array>

namespace admin {

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

QString CatalogFailureText(const CatalogQuery& query) {
  return FormatOdbcDiagnostics(query.Diagnostic(), OdbcTextForm::ConnectFailure);
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
namespace typeInfo {
constexpr SQLUSMALLINT kDataType = 2;       // DATA_TYPE
constexpr SQLUSMALLINT kCaseSensitive = 8;  // CASE_SENSITIVE
}  // namespace typeInfo

}  // namespace

QString CDatabseConnection::FileMakerDataSourceName() { return datasources::kAdminFileMakerProfile; }

CDatabseConnection::CDatabseConnection() : data::OdbcConnection(sourcekind::kXlsm) {}

bool CDatabseConnection::CreateFileMakerDsn(const QString& databaseName, const QString& dataSourceName) {
  return admin::CreateFileMakerDsn(databaseName, dataSourceName);
}

void CDatabseConnection::DeleteFileMakerDsn(const QString&) { DeleteDsnKey(FileMakerDataSourceName()); }

void CDatabseConnection::BeforeConnect(uint8_t kind, const QString& dataSourceName) {
  if (kind == sourcekind::kFileMaker) {
    RenewHandles();
    return;
  }
  g_bMySqlDataSource = IsMySqlDataSource(dataSourceName);
  if (GetDataSourceDriver(dataSourceName).contains(u"DataDirect 32-BIT SequeLink")) RenewHandles();
}

SQLRETURN CDatabseConnection::ExecuteStatement(const QString& sql) {
  const SQLRETURN result = RunStatement(sql, false);
  // An UPDATE or DELETE that matches no row has done what was asked.
  return result == SQL_NO_DATA ? SQL_SUCCESS : result;
}

QString CDatabseConnection::InfoText(SQLUSMALLINT infoType) const {
  std::array<SQLWCHAR, 128> text{};
  SQLSMALLINT length = 0;
  const SQLHDBC connection = GetConnectionHandle();
  if (connection == SQL_NULL_HDBC || !SQL_SUCCEEDED(SQLGetInfoW(connection, infoType, text.data(),
                                                               static_cast<SQLSMALLINT>(sizeof text), &length))) {
    return {};
  }
  return platform::FromSqlTextZ(text.data(), static_cast<qsizetype>(text.size()));
}

QString CDatabseConnection::GetProductName() const { return IsConnected() ? InfoText(SQL_DBMS_NAME) : QString(); }

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

int CDatabseConnection::GetTableList(QStringList* names, QStringList* schemas, QStringList* types, int request) {
  const bool worksheets = GetSourceKind() == sourcekind::kXls;
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
  CatalogQuery query = Catalog({{keycolumns::kSpecialColumnName, 130}});
  if (!query.Run([&table](SQLHSTMT statement) { return keycolumns::LookUpSpecialColumns(statement, table); })) {
    WriteAppLog(91, CatalogFailureText(query));
    return 0;
  }
  return query.AppendTexts(keycolumns::kSpecialColumnName, names);
}

int CDatabseConnection::GetPrimaryKeyList(const QString& table, QStringList* names) {
  CatalogQuery query = Catalog({{keycolumns::kPrimaryKeyName, 130}});
  if (!query.Run([&table](SQLHSTMT statement) { return keycolumns::LookUpPrimaryKeys(statement, table); })) {
    admin::RaiseFailure({0, -1, CatalogFailureText(query), admin::FailureLook::Plain, query.Diagnostic()});
    return 0;
  }
  return query.AppendTexts(keycolumns::kPrimaryKeyName, names);
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

}  // namespace admin
