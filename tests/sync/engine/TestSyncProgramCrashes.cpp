// The real sync program killed at random moments while both sides change, against a web service
// that takes each message at once and holds its answer back: afterwards the device holds exactly
// the table's rows and every device edit was applied once and answered.
#include "shared/RegistryRecords.h"
#include "shared/contract/RegistryNames.h"
#include "sync/engine/CdbFile.h"
#include "sync/engine/SnapshotJournal.h"
#include "tests/support/Eventually.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/SettingsStore.h"
#include "tests/support/SyncInstallation.h"
#include "tests/support/WebServiceDouble.h"
#include "tests/sync/engine/InStepProfile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <thread>

using namespace std::chrono;
using odbctest::Engine;
using synctest::InStepProfile;
using testsupport::Eventually;

namespace {

constexpr int kRows = 260;
constexpr int kKept = 20;  // rows 1 .. kKept: the desktop leaves them to the device's edits
constexpr int kKills = 12;
constexpr int kNoteLength = 9000;  // the rows fill several strips

QString Log() { return synctest::ReadLog(QStringLiteral("SyncServiceLog.log")); }

// Temporary files of file replaces that a kill cut short, anywhere in the machine root.
QStringList LeftTemporaryFiles() {
  QStringList left;
  QDirIterator files(testsupport::CurrentMachineRoot(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (files.hasNext()) {
    const QString path = files.next();
    if (path.contains(QStringLiteral(".tnw~"))) left.append(path);
  }
  return left;
}

std::unique_ptr<QProcess> Start() {
  auto process = std::make_unique<QProcess>();
  process->setStandardOutputFile(QProcess::nullDevice());
  process->start(QStringLiteral(SYNC_PROGRAM), {});
  EXPECT_TRUE(process->waitForStarted());
  return process;
}

// One edit made on the device, and the answer it must get.
struct DeviceEdit {
  QString operation;
  int32_t source;
  int32_t index;
};

class SyncProgramCrashes : public ::testing::TestWithParam<Engine> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(service_.Started()) << qPrintable(service_.Error());
    QString unavailable;
    if (!profile_.Create(GetParam(), &service_, kRows, &unavailable)) {
      if (unavailable.startsWith(QStringLiteral("skip:"))) GTEST_SKIP() << qPrintable(unavailable);
      FAIL() << qPrintable(unavailable);
    }
    ASSERT_TRUE(testsupport::StoreSealedValue(registrynames::kSettingsKey, QStringLiteral("ConnSettings"),
                                              ConnSettings().ToBytes()));
    SyncInfo syncInfo;
    syncInfo.webServiceUrl = service_.Url().toUtf8();
    syncInfo.changeDetectionMinutes = 0;  // turns follow each other at once
    syncInfo.backSyncMinutes = 0;
    synctest::StoreSealedRecord(QStringLiteral("SyncInfo"), syncInfo.ToBytes());
    DeskInfo desk;
    desk.desktopName = "desk-01";
    desk.deviceId = "user01";  // the profile's user: its device's edits are for this desktop
    synctest::StoreSealedRecord(QStringLiteral("DeskInfo"), desk.ToBytes());
    synctest::SetSettingsDword(QStringLiteral("SyncServiceStatus"), 1);
    // Long notes, and the profile delivered anew: its rows go out in strips.
    Change(QStringLiteral("UPDATE %1 SET note = '%2'").arg(profile_.Table(), QString(kNoteLength, QLatin1Char('n'))));
    ASSERT_EQ(profile_.SetStatusFlag(QStringLiteral("A")), QString());
    profile_.EmptyDevice();
    // Each message is taken at once and answered a moment later; edits handed out and never
    // answered are handed out again.
    for (const char* operation : {"SendData", "GetDataForDesktop", "AckFromDesktop"})
      service_.SetFault(QString::fromLatin1(operation), QStringLiteral("holdAnswer"), {{QStringLiteral("seconds"), 0.5}});
    service_.Command({{QStringLiteral("cmd"), QStringLiteral("redeliver")}, {QStringLiteral("enabled"), true}});
  }

  void Change(const QString& sql) { ASSERT_EQ(profile_.Run(sql), QString()); }

  // Desktop rows inserted, updated and deleted past the rows kept for the device's edits.
  void ChangeDesktop(std::mt19937& random) {
    for (int i = 0; i < 60; ++i) Change(profile_.InsertSql(100000 + nextInsert_++));
    // Ten rows deleted each round, from a stretch no earlier round deleted from.
    const int deleted = kKept + 1 + 10 * deleteRound_++;
    Change(QStringLiteral("DELETE FROM %1 WHERE id BETWEEN %2 AND %3").arg(profile_.Table()).arg(deleted).arg(deleted + 9));
    const int from = kKept + 150 + static_cast<int>(random() % 40);
    Change(QStringLiteral("UPDATE %1 SET qty = qty + 1 WHERE id BETWEEN %2 AND %3").arg(profile_.Table()).arg(from).arg(from + 60));
  }

  // Edits of the device's copies of the kept rows, and records the device adds.
  void EditOnDevice() {
    // Only once the profile is in step: an edit of a record the desktop is still delivering is a
    // conflict by design.
    const QJsonObject device = service_.Device().value(QStringLiteral("profiles")).toObject();
    if (device.value(QString::number(InStepProfile::kProfileId)).toObject().value(QStringLiteral("state")).toString() !=
            QStringLiteral("finished") ||
        !profile_.SnapshotExists())
      return;
    const QJsonArray records = profile_.DeviceRecordObjects();
    for (const QJsonValue& value : records) {
      const QJsonObject record = value.toObject();
      QJsonArray values = record.value(QStringLiteral("values")).toArray();
      const QString name = values.at(1).toString();
      const int32_t source = record.value(QStringLiteral("source")).toInt();
      const int32_t index = record.value(QStringLiteral("index")).toInt();
      const int n = name.startsWith(QStringLiteral("name ")) ? name.mid(5).toInt() : 0;
      if (n < 1 || n > kKept || edited_.contains(n)) continue;
      edited_.append(n);
      if (n % 3 == 0) {
        edits_.append({QStringLiteral("delete"), source, index});
        service_.QueueDeviceEdit(QStringLiteral("delete"), InStepProfile::kProfileId, source, index);
      } else {
        values[1] = QStringLiteral("device %1").arg(n);
        edits_.append({QStringLiteral("update"), source, index});
        service_.QueueDeviceEdit(QStringLiteral("update"), InStepProfile::kProfileId, source, index, values);
        values[0] = 700000 + n;  // a key of its own
        values[1] = QStringLiteral("device add %1").arg(n);
        edits_.append({QStringLiteral("add"), 2, 500 + n});
        service_.QueueDeviceEdit(QStringLiteral("add"), InStepProfile::kProfileId, 2, 500 + n, values);
      }
      if (edited_.size() % 4 == 0) return;  // a few at a time
    }
  }

  // The edits without a "Synced" answer, as "operation source#index".
  QStringList Unanswered() {
    const QJsonArray acks = service_.Acks();
    QStringList unanswered;
    for (const DeviceEdit& edit : edits_) {
      bool synced = false;
      for (const QJsonValue& ack : acks) {
        const QJsonObject a = ack.toObject();
        synced = synced || (a.value(QStringLiteral("source")).toInt() == edit.source &&
                            a.value(QStringLiteral("index")).toInt() == edit.index &&
                            a.value(QStringLiteral("code")).toInt() == 1 &&
                            a.value(QStringLiteral("text")).toString() == QStringLiteral("Synced"));
      }
      if (!synced) unanswered.append(QStringLiteral("%1 %2#%3").arg(edit.operation).arg(edit.source).arg(edit.index));
    }
    return unanswered;
  }

  testsupport::WebServiceDouble service_;
  InStepProfile profile_;
  int nextInsert_ = 0;
  int deleteRound_ = 0;
  QList<int> edited_;
  QList<DeviceEdit> edits_;
};

TEST_P(SyncProgramCrashes, KillsAtRandomMomentsNeitherDuplicateNorLoseARow) {
  // A failing run is replayed with its seed in TARNWICK_CRASH_SEED.
  bool seeded = false;
  const unsigned given = qEnvironmentVariable("TARNWICK_CRASH_SEED").toUInt(&seeded);
  const unsigned seed = seeded ? given : static_cast<unsigned>(system_clock::now().time_since_epoch().count());
  std::printf("seed %u\n", seed);
  SCOPED_TRACE(seed);
  std::mt19937 random(seed);
  for (int kill = 0; kill < kKills; ++kill) {
    const auto program = Start();
    // Every fourth run lasts long enough for a whole delivery, so the device edits its records.
    std::this_thread::sleep_for(milliseconds(kill % 4 == 3 ? 15000 : 300 + random() % 2200));
    program->kill();
    ASSERT_TRUE(program->waitForFinished(30'000));
    if (kill >= 2) ChangeDesktop(random);
    EditOnDevice();
  }

  // Quiet turns: both sides end alike.
  const auto program = Start();
  const bool alike = Eventually(
      [this] {
        return profile_.DeviceNames() == profile_.DesktopNames() && Unanswered().isEmpty() &&
               profile_.DeviceRecordObjects().size() == profile_.DesktopRows().size();
      },
      seconds(120));
  synctest::SetSettingsDword(QStringLiteral("SyncServiceStatus"), 0);
  ASSERT_TRUE(program->waitForFinished(240'000));
  EXPECT_TRUE(alike) << qPrintable(Log().right(4000));
  EXPECT_EQ(service_.DeviceErrors(), QStringList());
  EXPECT_EQ(profile_.DeviceNames(), profile_.DesktopNames());
  EXPECT_EQ(Unanswered(), QStringList()) << QJsonDocument(service_.Acks()).toJson().constData();
  EXPECT_FALSE(edits_.isEmpty());
  // The snapshot was written whole at the end of the last pass.
  CCdbFile snapshot;
  snapshot.SetCdbFileName(InStepProfile::kProfileId);
  EXPECT_FALSE(snapshot.Journal().Exists());
  EXPECT_FALSE(snapshot.DeliveryWasCutShort());
  EXPECT_EQ(profile_.Snapshot().size(), profile_.DesktopRows().size());
  EXPECT_EQ(LeftTemporaryFiles(), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Engines, SyncProgramCrashes, ::testing::Values(Engine::Sqlite, Engine::PostgreSql),
                         [](const ::testing::TestParamInfo<Engine>& engine) {
                           return odbctest::EngineName(engine.param).toStdString();
                         });

}  // namespace
