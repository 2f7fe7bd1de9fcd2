// Change detection over a large in-step profile, beside the bare cost of fetching its rows.
// One machine root serves the whole run (the ODBC driver manager reads its configuration once
// per process). Reported side by side:
//   BareOdbcFetch            the profile's rows and columns fetched through the same driver
//   ReadRecords              the rows read as device records with their digests, nothing more
//   DetectUnchanged          a change-detection pass that finds nothing (1,000,000 rows)
//   DetectOnePercentChanged  a pass that finds 1% of the rows changed and sends them
//   DetectUnchanged100k      a pass that finds nothing over 100,000 rows
// Each reports the growth of the process's peak resident memory during its run over the resident
// memory at its start, per row ("peak_bytes_per_row").
#include "platform/OdbcHandle.h"
#include "platform/OdbcText.h"
#include "platform/Registry.h"
#include "shared/RegistryRecords.h"
#include "shared/RegistrySettings.h"
#include "shared/contract/RegistryNames.h"
#include "sync/data/DBHandlerForUserDB.h"
#include "sync/data/DatabseConnection.h"
#include "sync/data/SyncSettings.h"
#include "sync/engine/CdbFile.h"
#include "sync/engine/StatusChangeCheck.h"
#include "sync/engine/SyncStatus.h"
#include "tests/support/SettingsStore.h"
#include "tests/support/TestPaths.h"
#include "tests/support/WebServiceDouble.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sql.h>
#include <sqlext.h>

#include <cstdlib>
#include <memory>

namespace {

using namespace platform;

constexpr int32_t kLargeProfile = 1;
constexpr int32_t kSmallProfile = 2;
constexpr int kLargeRows = 1'000'000;
constexpr int kSmallRows = 100'000;

// A field of /proc/self/status in bytes ("VmHWM", "VmRSS").
long StatusBytes(const char* field) {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith(field)) return line.mid(line.indexOf(':') + 1).trimmed().split(' ').first().toLong() * 1024;
  }
  return 0;
}

// Starts a new peak at the present resident size (the kernel resets VmHWM on "5").
long ResetPeak() {
  QFile clear(QStringLiteral("/proc/self/clear_refs"));
  if (clear.open(QIODevice::WriteOnly)) clear.write("5");
  return StatusBytes("VmRSS");
}

void Fail(const QString& what) {
  std::fprintf(stderr, "bench_change_detection: %s\n", qPrintable(what));
  std::abort();
}

void Store(const QString& keyName, const QString& name, const RegistryValue& value) {
  if (!testsupport::StoreValue(keyName, name, value)) Fail(QStringLiteral("registry value %1 not stored").arg(name));
}

QString SourceFile(int32_t profileId) { return QStringLiteral("source-%1.mdb").arg(profileId); }

// The installation, the settings database, two profiles over SQLite tables of mixed columns with
// their snapshots, and the web-service double the passes send to.
class BenchInstallation {
 public:
  BenchInstallation() {
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
    if (!testsupport::StoreSealedValue(registrynames::kSettingsKey, QStringLiteral("ConnSettings"),
                                       ConnSettings().ToBytes()))
      Fail(QStringLiteral("ConnSettings not stored"));
    LoadSyncSettings();
    SetSyncStatusCopy(1);
    AddProfile(kLargeProfile, kLargeRows);
    AddProfile(kSmallProfile, kSmallRows);
  }

  // Only `profileId` is in step for the next pass.
  void Select(int32_t profileId) {
    Settings(QStringLiteral("Update UserProfileStatus Set StatusFlag = 'A'"));
    Settings(QStringLiteral("Update UserProfileStatus Set StatusFlag = '' Where ProfileID = %1").arg(profileId));
  }

  CDatabseConnection& Source(int32_t profileId) { return *m_sources.at(profileId - 1); }
  QString Query() const { return QStringLiteral("Select * From items Order By id"); }

  // The rows of a fresh snapshot as the devices would hold them.
  void WriteSnapshot(int32_t profileId) {
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
    Store(registrynames::kRecordIndexKey, QString::number(profileId),
          RegistryValue::FromDword(static_cast<DWORD>(entries.size() + 1)));
  }

  void Run(int32_t profileId, const QString& sql) {
    if (!SQL_SUCCEEDED(Source(profileId).ExecuteStatement(sql))) Fail(Source(profileId).GetLastError());
  }

 private:
  void StoreSealed(const QString& name, const QByteArray& plain) {
    if (!testsupport::StoreSealedValue(registrynames::RecordKeyName(), name, plain))
      Fail(QStringLiteral("%1 not stored").arg(name));
  }

  void Settings(const QString& sql) {
    if (!SQL_SUCCEEDED(m_settings.ExecuteStatement(sql))) Fail(m_settings.GetLastError());
  }

  void AddProfile(int32_t profileId, int rows) {
    const QString file = m_root.path() + u'/' + SourceFile(profileId);
    QFile(file).open(QIODevice::WriteOnly);
    auto source = std::make_unique<CDatabseConnection>();
    QString error;
    if (source->ConnectDataSource(QStringLiteral("BenchSource%1").arg(profileId), 1, file, QString(), QString(), &error,
                                  false) != 1)
      Fail(error);
    m_sources.push_back(std::move(source));
    Run(profileId, QStringLiteral("CREATE TABLE items (id INTEGER PRIMARY KEY, name VARCHAR(40), city VARCHAR(40), "
                                  "amount DECIMAL(12,2), day DATE, ratio REAL)"));
    Run(profileId, QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < %1) "
                                  "INSERT INTO items SELECT x, 'customer ' || x, 'city #' || (x % 997), "
                                  "(x % 100000) / 100.0, date('2026-01-01', '+' || (x % 365) || ' days'), x * 0.37 "
                                  "FROM n")
                        .arg(rows));
    Settings(QStringLiteral("Insert Into ProfileInfo Values (%1, 'Bench %1', '1', '%2', '', '', '%3', '%4/', 'user01', "
                            "'id', 'Device', '%4/', 0, 1, '', '')")
                 .arg(profileId)
                 .arg(SourceFile(profileId), Query(), m_root.path()));
    Settings(QStringLiteral("Insert Into UserProfileStatus Values ('user01', %1, '')").arg(profileId));
    WriteSnapshot(profileId);
  }

  QTemporaryDir m_root;
  QString m_installation;
  CDatabseConnection m_settings;
  testsupport::WebServiceDouble m_service;
  std::vector<std::unique_ptr<CDatabseConnection>> m_sources;
};

BenchInstallation& Installation() {
  static BenchInstallation installation;
  return installation;
}

void ReportPeak(benchmark::State& state, long peakBefore, int rows) {
  state.counters["peak_bytes_per_row"] = static_cast<double>(StatusBytes("VmHWM") - peakBefore) / rows;
  state.counters["rows"] = rows;
}

// Every column of every row into bound buffers, and nothing else.
void BareOdbcFetch(benchmark::State& state) {
  BenchInstallation& installation = Installation();
  const long peakBefore = ResetPeak();
  for (auto _ : state) {
    const OdbcHandle statement = OdbcHandle::Allocate(SQL_HANDLE_STMT, installation.Source(kLargeProfile).GetConnectionHandle());
    if (!SQL_SUCCEEDED(SQLExecDirectW(statement.get(), SqlText(installation.Query()), SQL_NTS))) Fail(QStringLiteral("query"));
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
    int64_t rows = 0;
    while (SQL_SUCCEEDED(SQLFetch(statement.get()))) ++rows;
    if (rows != kLargeRows) Fail(QStringLiteral("fetched %1 rows").arg(rows));
    benchmark::DoNotOptimize(ratio);
  }
  ReportPeak(state, peakBefore, kLargeRows);
}

// The rows read as device records with their digests, as a pass reads them, and nothing else:
// the share of a pass that belongs to reading.
void ReadRecords(benchmark::State& state) {
  BenchInstallation& installation = Installation();
  for (auto _ : state) {
    CDBHandlerForUserDB handler;
    QString error;
    if (handler.Initialize(installation.Source(kLargeProfile), installation.Query(), &error) != 1) Fail(error);
    QByteArray record;
    uint8_t digest[kRowDigestSize];
    for (int32_t row = 0; row < handler.GetRowCount(); ++row) handler.ReadRecord(row, &record, digest);
  }
}

void RunPass(benchmark::State& state, int32_t profileId, int rows) {
  Installation().Select(profileId);
  const long peakBefore = ResetPeak();
  for (auto _ : state) CStatusChangeCheck().DetectDataChanges();
  ReportPeak(state, peakBefore, rows);
}

void DetectUnchanged(benchmark::State& state) { RunPass(state, kLargeProfile, kLargeRows); }

void DetectOnePercentChanged(benchmark::State& state) {
  BenchInstallation& installation = Installation();
  installation.Select(kLargeProfile);
  const long peakBefore = ResetPeak();
  for (auto _ : state) {
    state.PauseTiming();
    installation.Run(kLargeProfile, QStringLiteral("UPDATE items SET ratio = ratio + 1 WHERE id % 100 = 0"));
    state.ResumeTiming();
    CStatusChangeCheck().DetectDataChanges();
  }
  ReportPeak(state, peakBefore, kLargeRows);
}

void DetectUnchanged100k(benchmark::State& state) { RunPass(state, kSmallProfile, kSmallRows); }

}  // namespace

BENCHMARK(BareOdbcFetch)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ReadRecords)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(DetectUnchanged)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(DetectOnePercentChanged)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(DetectUnchanged100k)->Unit(benchmark::kMillisecond)->Iterations(3);
