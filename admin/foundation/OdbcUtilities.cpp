#include "admin/foundation/OdbcUtilities.h"

#include "admin/foundation/AppLog.h"
#include "platform/OdbcConfig.h"
#include "shared/odbc/FileMakerDsn.h"
#include "shared/WorkbookFolder.h"
#include "platform/widgets/MessageBox.h"

#include <sqlext.h>

#include <QDir>
#include <QFile>

#include <array>
#include <limits>

namespace {

QString Report(const char* format, const OdbcDiagRecord& diagnostic) {
  return QString::fromUtf8(format)
      .arg(diagnostic.sqlState, QString::number(diagnostic.nativeError), diagnostic.message);
}

}  // namespace

QString FormatOdbcReport(const OdbcDiagRecord& diagnostic) {
  return Report("ODBC Reports : \n\nSQLSTATE:%1 \nNative Error Code:%2 \nDriver Message:=' %3 '", diagnostic);
}

QString FormatOdbcConnectReport(const OdbcDiagRecord& diagnostic) {
  return Report(
      "Failed to connect to database.\n\nODBC Reports : \n\nSQLSTATE:%1 \nNative Error Code:%2 \nDriver "
      "Message:=' %3 '",
      diagnostic);
}

void IsOdbcLoginError(SQLHDBC connection, bool* isLoginError, QString* text) {
  const OdbcDiagRecord diagnostic = ReadOdbcDiagRecord(SQL_HANDLE_DBC, connection);
  if (isLoginError != nullptr) *isLoginError = MentionsLogin(diagnostic) || diagnostic.nativeError == 0;
  if (text != nullptr) *text = OdbcDiagText(diagnostic);
}

void FormatConnectFailure(SQLSMALLINT handleType, SQLHANDLE handle, QString* text) {
  FormatConnectError(handleType, handle, text);
}

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
    case -28: case -26: case -18: case -17: case -16: case -15: case -11: case -10: case -9:
    case -8: case -7: case -6: case -1:
    case 91: case 92: case 93:
      return true;
    default:
      return sqlType >= 1 && sqlType <= 12;
  }
}

int MySqlTypeToSqlType(const QString& typeText) {
  QString type = typeText.toLower().trimmed();
  type = type.left(type.indexOf(u'('));
  struct Entry {
    const char16_t* name;
    int sqlType;
  };
  static constexpr Entry kTypes[] = {
      {u"char", 1},      {u"varchar", 12},    {u"time", 10},      {u"date", 9},          {u"datetime", 11},
      {u"timestamp", 11}, {u"decimal", 2},    {u"bit", -7},       {u"tinyint", -6},      {u"smallint", 5},
      {u"year", 5},      {u"mediumint", 4},   {u"int", 4},        {u"integer", 4},       {u"bigint", 0},
      {u"float", 7},     {u"double", 8},      {u"text", -1},      {u"tinytext", -1},     {u"mediumtext", -1},
      {u"longtext", -1},
  };
  for (const Entry& entry : kTypes) {
    if (type == QString::fromUtf16(entry.name)) return entry.sqlType;
  }
  return 0;
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
    platform::MessageBox(nullptr, message, ProgramTitle(), platform::MB_ICONERROR);
    WriteAppLog(-1, message);
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
