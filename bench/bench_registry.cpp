// One value read from a large hive, as the programs read their settings again and again: from a
// hive of 10,000 keys and from one that also holds a 16 MB value. Every iteration opens the key,
// queries the value and closes the key: of a hive file that has not changed since the last read,
// and of one that another program has just replaced (the file is written again outside the
// timing).
#include "platform/os/MachineRoot.h"
#include "platform/registry/Registry.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <sys/resource.h>

namespace {

using namespace platform;

constexpr int kKeys = 10000;
constexpr qsizetype kBigValueBytes = 16 << 20;

QByteArray HiveOfKeys(int keys) {
  QByteArray text = "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE]\n";
  for (int i = 0; i < keys; ++i) {
    text += "\n[HKEY_LOCAL_MACHINE\\Software\\Bench\\Key" + QByteArray::number(i) + "]\n\"Value\"=dword:" +
            QByteArray::number(i, 16).rightJustified(8, '0') + '\n';
  }
  return text;
}

QByteArray HiveWithBigValue() {
  QByteArray text = "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\Bench\\Key0]\n"
                    "\"Value\"=dword:00000000\n\"Big\"=hex:";
  text.reserve(text.size() + kBigValueBytes * 3);
  for (qsizetype i = 0; i < kBigValueBytes; ++i) text += i == 0 ? "5a" : ",5a";
  return text + '\n';
}

// A machine root of its own holding the hive text, for the life of one benchmark.
class BenchRoot {
 public:
  explicit BenchRoot(const QByteArray& hive) {
    setenv("TARNWICK_MACHINE_ROOT", dir_.path().toUtf8().constData(), 1);
    Rewrite(hive);
  }


  void Rewrite(const QByteArray& hive) const {
    QFile file(Path());
    if (!file.open(QIODevice::WriteOnly) || file.write(hive) != hive.size()) std::abort();
  }

 private:
  static QString Path() { return RegistryFolder() + QStringLiteral("/HKEY_LOCAL_MACHINE.reg"); }

  QTemporaryDir dir_;
};

bool Read(const QString& keyPath) {
  RegistryKeyGuard key;
  RegistryValue value;
  const bool read = RegOpenKeyEx(HKEY_LOCAL_MACHINE, keyPath, KEY_READ, key.out()) == ERROR_SUCCESS &&
                    RegQueryValueEx(key.get(), QStringLiteral("Value"), &value) == ERROR_SUCCESS;
  benchmark::DoNotOptimize(value);
  return read;
}

void ReadOneValue(benchmark::State& state, const QByteArray& hive, const QString& keyPath) {
  const BenchRoot root(hive);
  const bool changed = state.range(0) != 0;
  if (!Read(keyPath)) state.SkipWithError("the value cannot be read");
  for (auto _ : state) {
    if (changed) {
      state.PauseTiming();
      root.Rewrite(hive);
      state.ResumeTiming();
    }
    if (!Read(keyPath)) {
      state.SkipWithError("the value cannot be read");
      break;
    }
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
  state.counters["hive_MB"] = static_cast<double>(hive.size()) / (1 << 20);
}

void ReadFromManyKeys(benchmark::State& state) {
  ReadOneValue(state, HiveOfKeys(kKeys), QStringLiteral("Software\\Bench\\Key5000"));
}

void ReadBesideABigValue(benchmark::State& state) {
  ReadOneValue(state, HiveWithBigValue(), QStringLiteral("Software\\Bench\\Key0"));
}

}  // namespace

// Argument 0: the file is unchanged; 1: it was replaced before each read.
BENCHMARK(ReadFromManyKeys)->Name("Registry/ReadOneValue/10000Keys")->ArgName("changed")->Arg(0)->Arg(1)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(ReadBesideABigValue)->Name("Registry/ReadOneValue/16MBValue")->ArgName("changed")->Arg(0)->Arg(1)
    ->Unit(benchmark::kMicrosecond);
