#include "bench/support/BenchInstallation.h"

#include "platform/odbc/OdbcHandle.h"
#include "platform/odbc/OdbcText.h"
#include "platform/registry/Registry.h"
#include "shared/RegistryRecords.h"
#include "shared/RegistrySettings.h"
#include "shared/contract/RegistryNames.h"
#include "sync/data/DBHandlerForUserDB.h"
#include "sync/data/DatabaseHandler.h"
#include "sync/data/SyncSettings.h"
#include "sync/engine/CdbFile.h"
#include "sync/engine/SyncStatus.h"
#include "tests/support/SettingsStore.h"
#include "tests/support/TestPaths.h"

#include <QDir>
#include <QFile>

#include <sql.h>
#include <sqlext.h>

#include <cstdio>
#include <cstdlib>

namespace benchsupport {
namespace {

using platform::RegistryValue;

// A field of /proc/self/status in bytes ("VmHWM", "VmRSS").
long StatusBytes(const char* field) {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith(field)) return line.mid(line.indexOf(':') + 1).trimmed().split(' ').first().toLong() * 1024;
  }
  return 0;
}

void Store(const QString& keyName, const QString& name, const RegistryValue& value) {
  if (!testsupport::StoreValue(keyName, name, value)) Fail(QStringLiteral("registry value %1 not stored").arg(name));
}

QString SourceFile(int32_t profileId) { return QStringLiteral("source-%1.mdb").arg(profileId); }

}  // namespace

void Fail(const QString& what) {
  std::fprintf(stderr, "benchmark fixture: %s\n", qPrintable(what));
  std::abort();
}

long ResetPeak() {
  // The kernel starts a new peak at the present resident size on "5".
  QFile clear(QStringLiteral("/proc/self/clear_refs"));
  if (clear.open(QIODevice::WriteOnly)) clear.write("5");
  return StatusBytes("VmRSS");
}

void ReportPeak(benchmark::State& state, long peakBefore, int rows) {
  state.counters["peak_bytes_per_row"] = static_cast<double>(StatusBytes("VmHWM") - peakBefore) / rows;
  state.counters["rows"] = rows;
}

void FetchBare(const syncservice::CDatabseConnection& source, const QString& query, int rows) {
  const platform::OdbcHandle statement = platform::OdbcHandle::Allocate(SQL_HANDLE_STMT, source.GetConnectionHandle());
  if (!SQL_SUCCEEDED(SQLExecDirectW(statement.get(), platform::SqlText(query), SQL_NTS))) Fail(QStringLiteral("query"));
  SQLINTEGER id = 0;
  SQLWCHAR name[41];
  SQLWCHAR city[41];
  SQLWCHAR amount[32];
  SQL_DATE_STRUCT day{};
  SQLDOUBLE ratio = 0;
  SQLLEN indicators[6];
  SQLBindCol(statement.get(), 1, SQL_C_SLONG, &id, 0, &indicators[0]);
  SQLBindCol(statement.get(), 2, SQL_C_WCHAR, name, sizeof name, &indicators[1]);
  SQLBindCol(statement.get(), 3, SQL_C_WCHAR, city, sizeof city, &indicators[2]);
  SQLBindCol(statement.get(), 4, SQL_C_WCHAR, amount, sizeof amount, &indicators[3]);
  SQLBindCol(statement.get(), 5, SQL_C_TYPE_DATE, &day, 0, &indicators[4]);
  SQLBindCol(statement.get(), 6, SQL_C_DOUBLE, &ratio, 0, &indicators[5]);
  int64_t fetched = 0;
  while (SQL_SUCCEEDED(SQLFetch(statement.get()))) ++fetched;
  if (fetched != rows) Fail(QStringLiteral("fetched %1 rows").arg(fetched));
  benchmark::DoNotOptimize(ratio);
}

BenchInstallation::BenchInstallation(const std::vector<Profile>& profiles) {
  setenv("TARNWICK_MACHINE_ROOT", m_root.path().toUtf8().constData(), 1);
  m_installation = m_root.path() + QStringLiteral("/install/");
  QDir().mkpath(m_installation + QStringLiteral("Desktop Files/Logs"));
  QDir().mkpath(m_installation + QStringLiteral("Desktop Files/DB/CDB Files"));
  Store(registrynames::kSettingsKey, QStringLiteral("InstallationPath"), RegistryValue::FromString(m_installation));
  const QString settings = m_installation + QStringLiteral("Desktop Files/DB/UserProfileDB.mdb");
  if (!QFile::copy(testsupport::BinaryDir() + QStringLiteral("/db/UserProfileDB.mdb"), settings))
    Fail(QStringLiteral("no settings database"));
  QFile::setPermissions(settings, QFile::ReadOwner | QFile::WriteOwner);
  QString error;
  if (m_settings.ConnectDataSource(QStringLiteral("BenchSettings"), 1, settings, QString(), QStringLiteral("pondGarue58"),
                                   &error, false) != 1)
    Fail(error);
  if (!m_service.Started()) Fail(m_service.Error());
  SyncInfo sync;
  sync.webServiceUrl = m_service.Url().toUtf8();
  StoreSealed(QStringLiteral("SyncInfo"), sync.ToBytes());
  DeskInfo desk;
  desk.desktopName = "Bench desk";
  desk.deviceId = "device-1";
  StoreSealed(QStringLiteral("DeskInfo"), desk.ToBytes());
  if (!testsupport::StoreSealedValue(registrynames::kSettingsKey, QStringLiteral("ConnSettings"), ConnSettings().ToBytes()))
    Fail(QStringLiteral("ConnSettings not stored"));
  LoadSyncSettings();
  SetSyncStatusCopy(1);
  for (const Profile& profile : profiles) AddProfile(profile);
}

void BenchInstallation::Select(int32_t profileId) {
  Settings(QStringLiteral("Update UserProfileStatus Set StatusFlag = 'A'"));
  Settings(QStringLiteral("Update UserProfileStatus Set StatusFlag = '' Where ProfileID = %1").arg(profileId));
}

void BenchInstallation::WriteSnapshot(int32_t profileId) {
  CDBHandlerForUserDB handler;
  QString error;
  if (handler.Initialize(Source(profileId), Query(), &error) != 1) Fail(error);
  QList<CdbEntry> entries;
  entries.reserve(handler.GetRowCount());
  QByteArray record;
  for (int32_t row = 0; row < handler.GetRowCount(); ++row) {
    CdbEntry entry;
    if (handler.ReadRecord(row, &record, entry.digest.data()) == 0) Fail(QStringLiteral("row %1 unreadable").arg(row));
    entry.recordSource = 1;
    entry.recordIndex = row + 1;
    entries.append(entry);
  }
  CCdbFile file;
  file.SetCdbFileName(profileId);
  if (!file.WriteCdbRecords(entries)) Fail(QStringLiteral("snapshot not written"));
  Store(registrynames::kRecordIndexKey, QString::number(profileId), RegistryValue::FromDword(static_cast<DWORD>(entries.size() + 1)));
}

void BenchInstallation::MakeNew(int32_t profileId) {
  CCdbFile file;
  file.SetCdbFileName(profileId);
  file.Remove();
  file.EndDelivery();
  Settings(QStringLiteral("Update UserProfileStatus Set StatusFlag = 'A' Where ProfileID = %1").arg(profileId));
  Store(registrynames::kRecordIndexKey, QString::number(profileId), RegistryValue::FromDword(1));
}

void BenchInstallation::CheckDelivered(int32_t profileId) {
  syncservice::CDatabaseHandler status;
  if (status.ExecuteQuery(m_settings, QStringLiteral("Select StatusFlag From UserProfileStatus Where ProfileID = %1")
                                          .arg(profileId)) != 1 ||
      status.GetRowCount() != 1 || status.MoveToRow(0) != 1 || !status.GetFieldValue(0, 0).isEmpty())
    Fail(QStringLiteral("profile %1 is not in step").arg(profileId));
  CCdbFile file;
  file.SetCdbFileName(profileId);
  QList<CdbEntry> entries;
  const int32_t rows = file.LoadCdbRecords(&entries);
  if (rows != m_profileRows.at(profileId)) Fail(QStringLiteral("a snapshot of %1 rows").arg(rows));
}

void BenchInstallation::Run(int32_t profileId, const QString& sql) {
  if (!SQL_SUCCEEDED(Source(profileId).ExecuteStatement(sql))) Fail(Source(profileId).GetLastError());
}

int64_t BenchInstallation::Count(int32_t profileId, const QString& sql) {
  const platform::OdbcHandle statement =
      platform::OdbcHandle::Allocate(SQL_HANDLE_STMT, Source(profileId).GetConnectionHandle());
  SQLBIGINT count = 0;
  SQLLEN indicator = 0;
  if (!SQL_SUCCEEDED(SQLExecDirectW(statement.get(), platform::SqlText(sql), SQL_NTS)) ||
      !SQL_SUCCEEDED(SQLBindCol(statement.get(), 1, SQL_C_SBIGINT, &count, 0, &indicator)) ||
      !SQL_SUCCEEDED(SQLFetch(statement.get())))
    Fail(QStringLiteral("no count from %1").arg(sql));
  return count;
}

void BenchInstallation::Settings(const QString& sql) {
  if (!SQL_SUCCEEDED(m_settings.ExecuteStatement(sql))) Fail(m_settings.GetLastError());
}

void BenchInstallation::StoreSealed(const QString& name, const QByteArray& plain) {
  if (!testsupport::StoreSealedValue(registrynames::RecordKeyName(), name, plain)) Fail(QStringLiteral("%1 not stored").arg(name));
}

void BenchInstallation::AddProfile(const Profile& profile) {
  const QString file = m_root.path() + u'/' + SourceFile(profile.id);
  QFile(file).open(QIODevice::WriteOnly);
  auto source = std::make_unique<syncservice::CDatabseConnection>();
  QString error;
  if (source->ConnectDataSource(QStringLiteral("BenchSource%1").arg(profile.id), 1, file, QString(), QString(), &error,
                                false) != 1)
    Fail(error);
  m_sources.push_back(std::move(source));
  m_profileRows[profile.id] = profile.rows;
  Run(profile.id, QStringLiteral("CREATE TABLE items (id INTEGER PRIMARY KEY, name VARCHAR(40), city VARCHAR(40), "
                                 "amount DECIMAL(12,2), day DATE, ratio REAL)"));
  Run(profile.id, QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < %1) "
                                 "INSERT INTO items SELECT x, 'customer ' || x, 'city #' || (x % 997), "
                                 "(x % 100000) / 100.0, date('2026-01-01', '+' || (x % 365) || ' days'), x * 0.37 "
                                 "FROM n")
                      .arg(profile.rows));
  Settings(QStringLiteral("Insert Into ProfileInfo Values (%1, 'Bench %1', '1', '%2', '', '', '%3', '%4/', 'user01', "
                          "'id', 'Device', '%4/', 0, 1, '', '')")
               .arg(profile.id)
               .arg(SourceFile(profile.id), Query(), m_root.path()));
  Settings(QStringLiteral("Insert Into UserProfileStatus Values ('user01', %1, '')").arg(profile.id));
  if (profile.delivered)
    WriteSnapshot(profile.id);
  else
    MakeNew(profile.id);
}

}  // namespace benchsupport
