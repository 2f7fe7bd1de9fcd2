#pragma once

#include "sync/data/DatabseConnection.h"
#include "tests/support/WebServiceDouble.h"

#include <QString>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace benchsupport {

// Stops the benchmark program with a reason: a broken fixture must never yield a figure.
[[noreturn]] void Fail(const QString& what);

// Starts a new peak at the present resident size; answers that size.
long ResetPeak();
// Reports the growth of the peak resident size since `peakBefore` per row.
void ReportPeak(benchmark::State& state, long peakBefore, int rows);

// Every column of every row of `query` into bound buffers with a forward-only cursor, and
// nothing else: the yardstick the passes are measured against. Fails unless `rows` came.
void FetchBare(const syncservice::CDatabseConnection& source, const QString& query, int rows);

// The installation, the settings database, profiles over SQLite tables of six mixed columns
// ("items": id, name, city, amount, day, ratio) in step with their snapshots or new (never delivered), and the web-service double
// the passes send to. One machine root serves the whole program: the ODBC driver manager reads
// its configuration once per process.
class BenchInstallation {
 public:
  struct Profile {
    int32_t id = 0;
    int rows = 0;
    bool delivered = true;  // in step with a snapshot; else new, as MakeNew leaves it
  };

  explicit BenchInstallation(const std::vector<Profile>& profiles);

  // Only `profileId` is in step for the next pass.
  void Select(int32_t profileId);

  syncservice::CDatabseConnection& Source(int32_t profileId) { return *m_sources.at(static_cast<size_t>(profileId - 1)); }
  static QString Query() { return QStringLiteral("Select * From items Order By id"); }
  QString Installation() const { return m_installation; }
  testsupport::WebServiceDouble& Service() { return m_service; }

  // A snapshot of the profile's present rows as the devices would hold them.
  void WriteSnapshot(int32_t profileId);
  // The profile as the administration program leaves one just added: no snapshot, its status
  // flag "A" and its record indexes starting again from 1.
  void MakeNew(int32_t profileId);
  // Fails unless the profile is in step with a snapshot of all its rows, as a delivery leaves it.
  void CheckDelivered(int32_t profileId);
  // Runs `sql` on the profile's source.
  void Run(int32_t profileId, const QString& sql);
  // The integer that `sql` on the profile's source answers.
  int64_t Count(int32_t profileId, const QString& sql);
  void Settings(const QString& sql);

 private:
  void StoreSealed(const QString& name, const QByteArray& plain);
  void AddProfile(const Profile& profile);

  QTemporaryDir m_root;
  QString m_installation;
  syncservice::CDatabseConnection m_settings;
  testsupport::WebServiceDouble m_service;
  std::vector<std::unique_ptr<syncservice::CDatabseConnection>> m_sources;
  std::map<int32_t, int> m_profileRows;
};

}  // namespace benchsupport
