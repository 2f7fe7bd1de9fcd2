// Change detection over a large in-step profile, beside the bare cost of fetching its rows.
// Reported side by side:
//   BareOdbcFetch            the profile's rows and columns fetched through the same driver
//   ReadRecords              the rows read as device records with their digests, nothing more
//   DetectUnchanged          a change-detection pass that finds nothing (1,000,000 rows)
//   DetectOnePercentChanged  a pass that finds 1% of the rows changed and sends them
//   DetectUnchanged100k      a pass that finds nothing over 100,000 rows
// Each pass reports the growth of the process's peak resident memory during its run over the
// resident memory at its start, per row ("peak_bytes_per_row").
#include "bench/support/BenchInstallation.h"
#include "sync/data/DBHandlerForUserDB.h"
#include "sync/engine/StatusChangeCheck.h"

#include <benchmark/benchmark.h>

namespace {

using benchsupport::BenchInstallation;

constexpr int32_t kLargeProfile = 1;
constexpr int32_t kSmallProfile = 2;
constexpr int kLargeRows = 1'000'000;
constexpr int kSmallRows = 100'000;

BenchInstallation& Installation() {
  static BenchInstallation installation({{kLargeProfile, kLargeRows}, {kSmallProfile, kSmallRows}});
  return installation;
}

void BareOdbcFetch(benchmark::State& state) {
  BenchInstallation& installation = Installation();
  const long peakBefore = benchsupport::ResetPeak();
  for (auto _ : state) benchsupport::FetchBare(installation.Source(kLargeProfile), BenchInstallation::Query(), kLargeRows);
  benchsupport::ReportPeak(state, peakBefore, kLargeRows);
}

// The rows read as device records with their digests, as a pass reads them, and nothing else:
// the share of a pass that belongs to reading.
void ReadRecords(benchmark::State& state) {
  BenchInstallation& installation = Installation();
  for (auto _ : state) {
    CDBHandlerForUserDB handler;
    QString error;
    if (handler.Initialize(installation.Source(kLargeProfile), BenchInstallation::Query(), &error) != 1)
      benchsupport::Fail(error);
    QByteArray record;
    uint8_t digest[kRowDigestSize];
    for (int32_t row = 0; row < handler.GetRowCount(); ++row) handler.ReadRecord(row, &record, digest);
  }
}

void RunPass(benchmark::State& state, int32_t profileId, int rows) {
  Installation().Select(profileId);
  const long peakBefore = benchsupport::ResetPeak();
  for (auto _ : state) CStatusChangeCheck().DetectDataChanges();
  benchsupport::ReportPeak(state, peakBefore, rows);
}

void DetectUnchanged(benchmark::State& state) { RunPass(state, kLargeProfile, kLargeRows); }

void DetectOnePercentChanged(benchmark::State& state) {
  BenchInstallation& installation = Installation();
  installation.Select(kLargeProfile);
  const long peakBefore = benchsupport::ResetPeak();
  for (auto _ : state) {
    state.PauseTiming();
    installation.Run(kLargeProfile, QStringLiteral("UPDATE items SET ratio = ratio + 1 WHERE id % 100 = 0"));
    state.ResumeTiming();
    CStatusChangeCheck().DetectDataChanges();
  }
  benchsupport::ReportPeak(state, peakBefore, kLargeRows);
}

void DetectUnchanged100k(benchmark::State& state) { RunPass(state, kSmallProfile, kSmallRows); }

}  // namespace

BENCHMARK(BareOdbcFetch)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ReadRecords)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(DetectUnchanged)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(DetectOnePercentChanged)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(DetectUnchanged100k)->Unit(benchmark::kMillisecond)->Iterations(3);
