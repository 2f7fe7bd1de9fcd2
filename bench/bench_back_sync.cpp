// Back synchronisation against a large profile, beside the bare cost of fetching its rows.
// Reported side by side:
//   BareOdbcFetch  the profile's rows and columns fetched through the same driver
//   BackSyncTurn   one back-sync turn applying 100 device updates and 100 device deletes spread
//                  over the 1,000,000 rows
// The rows, the snapshot and the device messages are put back before each turn, outside the
// timed part.
#include "bench/support/BenchInstallation.h"
#include "sync/engine/BackSyncDigestMap.h"
#include "sync/engine/CdbFile.h"
#include "sync/engine/SyncThreads.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QJsonArray>
#include <QStringList>

namespace {

using benchsupport::BenchInstallation;

constexpr int32_t kProfile = 1;
constexpr int kRows = 1'000'000;
constexpr int kEdits = 100;
constexpr int kSpacing = kRows / kEdits;

BenchInstallation& Installation() {
  static BenchInstallation installation({{kProfile, kRows}});
  return installation;
}

int UpdatedId(int edit) { return edit * kSpacing + 1; }
int DeletedId(int edit) { return edit * kSpacing + kSpacing / 2; }

QString IdList(int (*id)(int)) {
  QStringList ids;
  for (int edit = 0; edit < kEdits; ++edit) ids << QString::number(id(edit));
  return ids.join(u',');
}

// A row of the table as the fixture makes it, as the SELECT of an INSERT.
QString FixtureRowsOf(const QString& ids) {
  return QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < %1) "
                        "SELECT x, 'customer ' || x, 'city #' || (x % 997), (x % 100000) / 100.0, "
                        "date('2026-01-01', '+' || (x % 365) || ' days'), x * 0.37 FROM n WHERE x IN (%2)")
      .arg(kRows)
      .arg(ids);
}

// The table as the fixture made it, its snapshot as it was then, and the edits waiting at the
// service; the state each turn starts from.
class BackSyncScene {
 public:
  explicit BackSyncScene(BenchInstallation& installation) : m_installation(installation) {
    m_snapshot.SetCdbFileName(kProfile);
    QFile file(m_snapshot.Path());
    if (!file.open(QIODevice::ReadOnly)) benchsupport::Fail(QStringLiteral("no snapshot"));
    m_snapshotBytes = file.readAll();
    // The device user of the bench's settings is the profile's user.
    m_installation.Settings(
        QStringLiteral("Update ProfileInfo Set UserList = 'user01,device-1,' Where ProfileID = %1").arg(kProfile));
    m_installation.Service().SeedProfile(kProfile, {4, 1, 1, 2, 9, 8}, {});
  }

  void Reset() {
    const QString updated = IdList(&UpdatedId);
    const QString deleted = IdList(&DeletedId);
    m_installation.Run(kProfile, QStringLiteral("DELETE FROM items WHERE id IN (%1,%2)").arg(updated, deleted));
    m_installation.Run(kProfile,
                       QStringLiteral("INSERT INTO items %1").arg(FixtureRowsOf(updated + u',' + deleted)));
    if (!m_snapshot.WriteCdbBytes(m_snapshotBytes)) benchsupport::Fail(QStringLiteral("snapshot not restored"));
    BackSyncDigestMap::Instance().Clear();
    for (int edit = 0; edit < kEdits; ++edit) {
      const int id = UpdatedId(edit);
      m_installation.Service().QueueDeviceEdit(
          QStringLiteral("update"), kProfile, 1, id,
          QJsonArray{id, QStringLiteral("device %1").arg(id), QStringLiteral("moved"), QStringLiteral("1.25"),
                     QJsonArray{2026, 6, 1, 0, 0, 0, 0}, 0.5});
      m_installation.Service().QueueDeviceEdit(QStringLiteral("delete"), kProfile, 1, DeletedId(edit));
    }
  }

  // Fails unless the turn wrote every edit.
  void Check() {
    const int64_t left = m_installation.Count(
        kProfile, QStringLiteral("SELECT count(*) FROM items WHERE id IN (%1) OR (id IN (%2) AND city <> 'moved')")
                      .arg(IdList(&DeletedId), IdList(&UpdatedId)));
    if (left != 0) benchsupport::Fail(QStringLiteral("the turn left %1 edits unapplied").arg(left));
  }

 private:
  BenchInstallation& m_installation;
  CCdbFile m_snapshot;
  QByteArray m_snapshotBytes;
};

void BareOdbcFetch(benchmark::State& state) {
  BenchInstallation& installation = Installation();
  for (auto _ : state) benchsupport::FetchBare(installation.Source(kProfile), BenchInstallation::Query(), kRows);
}

void BackSyncTurn(benchmark::State& state) {
  BackSyncScene scene(Installation());
  for (auto _ : state) {
    state.PauseTiming();
    scene.Reset();
    state.ResumeTiming();
    if (!RunBackSyncTurn()) benchsupport::Fail(QStringLiteral("the turn was cut short"));
    state.PauseTiming();
    scene.Check();
    state.ResumeTiming();
  }
  state.counters["edits"] = 2 * kEdits;
}

}  // namespace

BENCHMARK(BareOdbcFetch)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BackSyncTurn)->Unit(benchmark::kMillisecond)->Iterations(2);
