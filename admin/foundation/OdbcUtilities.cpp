#include "admin/foundation/OdbcUtilities.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/Failure.h"
#include "admin/foundation/FailureSink.h"
#include "platform/odbc/OdbcConfig.h"
#include "shared/WorkbookFolder.h"
#include "shared/odbc/FileMakerDsn.h"

#include <sqlext.h>

#include <QDir>
#include <QFile>

#include <array>
#include <limits>

namespace admin {

void IsOdbcLoginError(SQLHDBC connection, bool* isLoginError, QString* text) {
  const OdbcDiagRecord diagnostic = ReadOdbcDiagRecord(SQL_HANDLE_DBC, connection);
  if (isLoginError != nullptr) *isLoginError = MentionsLogin(diagnostic) || diagnostic.nativeError == 0;
  if (text != nullptr) *text = FormatOdbcDiagnostics(diagnostic, OdbcTextForm::Diagnostic);
}

}  // namespace admin

QString GetJoinOperatorText(int code) {
  switch (code) {
    case 0: return QStringLiteral("AND");
    case 1: return QStringLiteral("OR");
    default: return {};
  }
}

namespace {

const std::array<const char16_t*, 8> kCompareOperators = {u"=", u"<>", u"<", u">", u"<=", u">=", u"IS", u"LIKE"};

}  // namespace

QString GetCompareOperatorText(int code) {
  if (code < 0 || code >= static_cast<int>(kCompareOperators.size())) return {};
  return QString::fromUtf16(kCompareOperators[static_cast<size_t>(code)]);
}

int GetOperatorIndex(const QString& text) {
  for (size_t i = 0; i < kCompareOperators.size(); ++i) {
    if (text == QString::fromUtf16(kCompareOperators[i])) return static_cast<int>(i);
  }
  return -1;
}

QString GetSortOrderText(int descending) {
  return descending != 0 ? QStringLiteral("DESC") : QStringLiteral("ASC");
}

int32_t ParseDigits(const QString& text) {
  int64_t value = 0;
  for (const QChar character : text) {
    if (character < u'0' || character > u'9') return -1;
    value = value * 10 + (character.unicode() - u'0');
    if (value > std::numeric_limits<int32_t>::max()) return -1;
  }
  return static_cast<int32_t>(value);
}

bool IsSupportedSqlType(int sqlType) {
  switch (sqlType) {
    // The integer C type codes count as column types too, as MapSqlType maps them.
    case SQL_C_UTINYINT: case SQL_C_STINYINT: case SQL_C_ULONG: case SQL_C_USHORT: case SQL_C_SLONG:
    case SQL_C_SSHORT:
    case SQL_GUID: case SQL_WLONGVARCHAR: case SQL_WVARCHAR: case SQL_WCHAR: case SQL_BIT: case SQL_TINYINT:
    case SQL_LONGVARCHAR:
    case SQL_TYPE_DATE: case SQL_TYPE_TIME: case SQL_TYPE_TIMESTAMP:
      return true;
    default:
      return sqlType >= SQL_CHAR && sqlType <= SQL_VARCHAR;
  }
}

int MySqlTypeToSqlType(const QString& typeText) {
  QString type = typeText.toLower().trimmed();
  type = type.left(type.indexOf(u'('));
  struct Entry {
    const char16_t* name;
    int sqlType;
  };
  // "decimal" gives SQL_NUMERIC and "bigint" no type, as the profile pages expect.
  static constexpr Entry kTypes[] = {
      {u"char", SQL_CHAR},           {u"varchar", SQL_VARCHAR},       {u"time", SQL_TIME},
      {u"date", SQL_DATE},           {u"datetime", SQL_TIMESTAMP},    {u"timestamp", SQL_TIMESTAMP},
      {u"decimal", SQL_NUMERIC},     {u"bit", SQL_BIT},               {u"tinyint", SQL_TINYINT},
      {u"smallint", SQL_SMALLINT},   {u"year", SQL_SMALLINT},         {u"mediumint", SQL_INTEGER},
      {u"int", SQL_INTEGER},         {u"integer", SQL_INTEGER},       {u"bigint", SQL_UNKNOWN_TYPE},
      {u"float", SQL_REAL},          {u"double", SQL_DOUBLE},         {u"text", SQL_LONGVARCHAR},
      {u"tinytext", SQL_LONGVARCHAR}, {u"mediumtext", SQL_LONGVARCHAR}, {u"longtext", SQL_LONGVARCHAR},
  };
  for (const Entry& entry : kTypes) {
    if (type == QString::fromUtf16(entry.name)) return entry.sqlType;
  }
  return SQL_UNKNOWN_TYPE;
}

bool IsNotSqlKeyword(const QString& name) {
  QString rest = name;
  rest.remove(u' ').remove(u'\'').remove(u'-').remove(u'.').remove(u'%');
  static const QStringList kKeywords = {
      QStringLiteral("table"), QStringLiteral("where"),  QStringLiteral("from"),
      QStringLiteral("select"), QStringLiteral("insert"), QStringLiteral("delete"),
      QStringLiteral("update"), QStringLiteral("drop"),   QStringLiteral("create")};
  return !kKeywords.contains(rest, Qt::CaseInsensitive);
}

int SplitByDelimiters(const QString& text, const QString& delimiters, QStringList* pieces) {
  int added = 0;
  qsizetype start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (!delimiters.contains(text.at(i))) continue;
    pieces->append(text.mid(start, i - start));
    ++added;
    start = i + 1;
  }
  if (start < text.size()) {
    pieces->append(text.mid(start));
    ++added;
  }
  return added;
}

QString GetDirectoryPart(const QString& path) {
  for (qsizetype i = path.size() - 1; i >= 1; --i) {
    if (path.at(i) != u'\\' && path.at(i) != u'/') continue;
    QString folder = path.left(i);
    if (folder.endsWith(u':')) folder += u'\\';
    return folder;
  }
  return path.startsWith(u'/') ? QStringLiteral("/") : QString();
}

QString GetDsnDatabaseName(const QString& dataSourceName) {
  return platform::DataSourceValue(dataSourceName, QStringLiteral("DATABASE"));
}

namespace admin {

bool AddOdbcDataSourceEntry(const QString& dataSourceName) {
  const QString driver = FindFileMakerDriverName();
  if (driver.isEmpty()) {
    const QString message = QStringLiteral(
        "ODBC Driver For FileMaker Pro is not installed !!\r\nPlease Install ODBC Driver from FileMaker Pro "
        "Installation CD \"\\xDBC\\ODBC Client Driver Installer\\setup.exe\".");
    admin::RaiseFailure({0, -1, message, admin::FailureLook::Error, std::nullopt});
    return false;
  }
  WriteAppLog(-1, QStringLiteral("ODBC Driver Name : %1").arg(driver));
  return ListDataSource(dataSourceName, driver);
}

bool CreateFileMakerDsn(const QString& databaseName, const QString& dataSourceName) {
  return AddOdbcDataSourceEntry(dataSourceName) && WriteFileMakerEntries(databaseName, dataSourceName);
}

void DeleteTempExcelCopies() {
  const QString path = WorkbookTempFolder();
  const QDir folder(path);
  if (path.isEmpty() || !folder.exists()) return;
  for (const QString& name : folder.entryList({QStringLiteral("New_*")}, QDir::Files | QDir::Hidden)) {
    QFile::remove(folder.filePath(name));
  }
}

}  // namespace admin
