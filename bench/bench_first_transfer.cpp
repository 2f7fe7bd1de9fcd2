// The first transfer of a new large profile, beside the bare cost of fetching its rows.
// Reported side by side:
//   BareOdbcFetch  the profile's rows and columns fetched through the same driver
//   FirstTransfer  the passes of a turn that deliver a new profile: its Add Profile, its rows in
//                  strips through the envelope to the loopback web-service double, and its
//                  Finish. "double_seconds" is the double's own time answering, per iteration:
//                  a real service's share, which the desktop does not control.
#include "bench/support/BenchInstallation.h"
#include "bench/support/QuietConsole.h"
#include "sync/engine/StatusChangeCheck.h"

#include <benchmark/benchmark.h>

namespace {

using benchsupport::BenchInstallation;

constexpr int32_t kProfile = 1;
constexpr int kRows = 1'000'000;

BenchInstallation& Installation() {
  static BenchInstallation installation({{kProfile, kRows, false}});
  return installation;
}

void BareOdbcFetch(benchmark::State& state) {
  BenchInstallation& installation = Installation();
  const long peakBefore = benchsupport::ResetPeak();
  for (auto _ : state) benchsupport::FetchBare(installation.Source(kProfile), BenchInstallation::Query(), kRows);
  benchsupport::ReportPeak(state, peakBefore, kRows);
}

void Deliver() {
  const benchsupport::QuietConsole quiet;
  const CStatusChangeCheck check;
  if (!check.ProcessProfileStatusChanges() || !check.SendNewProfileData() || !check.ProcessFinishedProfiles())
    benchsupport::Fail(QStringLiteral("the web-service double refused a send"));
}

void FirstTransfer(benchmark::State& state) {
  BenchInstallation& installation = Installation();
  double doubleSeconds = 0;
  const long peakBefore = benchsupport::ResetPeak();
  for (auto _ : state) {
    state.PauseTiming();
    installation.MakeNew(kProfile);
    installation.Service().Reset();
    state.ResumeTiming();
    Deliver();
    state.PauseTiming();
    doubleSeconds += installation.Service().BusySeconds();
    installation.CheckDelivered(kProfile);
    state.ResumeTiming();
  }
  state.counters["double_seconds"] = benchmark::Counter(doubleSeconds, benchmark::Counter::kAvgIterations);
  benchsupport::ReportPeak(state, peakBefore, kRows);
}

}  // namespace

BENCHMARK(BareOdbcFetch)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(FirstTransfer)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
