// The real administration program, started in the test's machine root, its message boxes
// answered and written to a transcript.
#include "platform/widgets/MessageBox.h"
#include "tests/support/AdminInstallation.h"
#include "tests/support/Eventually.h"
#include "tests/support/LogReader.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>

#include <memory>

using testsupport::EntriesContaining;
using testsupport::Eventually;
using testsupport::LogEntry;

namespace {

// Far above what a start or an end takes on a loaded machine.
constexpr int kGenerousBoundMs = 30'000;

class AdminProgram : public ::testing::Test {
 protected:
  void SetUp() override { installation_ = testsupport::InstallAdmin(); }

  std::unique_ptr<QProcess> Start() const {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(platform::kMessageBoxTranscriptVariable), Transcript());
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setStandardOutputFile(QProcess::nullDevice());
    process->start(testsupport::ProgramPath(QStringLiteral("TarnwickPlusLite")), {});
    EXPECT_TRUE(process->waitForStarted());
    return process;
  }

  QList<LogEntry> Log() const {
    return testsupport::ReadLogEntries(testsupport::TodaysAdminLog(installation_));
  }

  int Count(const QString& text) const { return static_cast<int>(EntriesContaining(Log(), text).size()); }

  bool WaitForRunning(int starts) const {
    return Eventually([&] { return Count(QStringLiteral("Tarnwick Plus Lite Started...")) >= starts; },
                      std::chrono::milliseconds(kGenerousBoundMs));
  }

  QString Transcript() const { return installation_ + QStringLiteral("boxes.jsonl"); }

  QList<QJsonObject> Boxes() const {
    QFile file(Transcript());
    QList<QJsonObject> boxes;
    if (!file.open(QIODevice::ReadOnly)) return boxes;
    for (const QByteArray& line : file.readAll().split('\n'))
      if (!line.isEmpty()) boxes.append(QJsonDocument::fromJson(line).object());
    return boxes;
  }

  static void EndWithSigterm(QProcess* program) {
    program->terminate();
    ASSERT_TRUE(program->waitForFinished(kGenerousBoundMs));
    EXPECT_EQ(program->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program->exitCode(), 0);
  }

  QString installation_;
};

}  // namespace

TEST_F(AdminProgram, StartsAloneAndEndsOnSigtermAsFromTheCloseBox) {
  testsupport::InstallSettingsDatabase(installation_);
  const auto first = Start();
  ASSERT_TRUE(WaitForRunning(1)) << first->readAllStandardError().toStdString();
  // Without an administrator password it opens on the Profile Manager.
  ASSERT_TRUE(Eventually([&] { return Count(QStringLiteral("Module Profile Manager is selected.")) == 1; }));
  // The Profile Manager lists the profiles and, shortly after, warns that the sync program is stopped.
  const QString stopped = QStringLiteral("Synchronization Service is Stopped");
  ASSERT_TRUE(Eventually(
      [&] { return Count(QStringLiteral("Number of Profile's are Available.")) == 1 && Count(stopped) == 1; }));
  const QList<LogEntry> started = Log();
  ASSERT_GE(started.size(), 3);
  EXPECT_EQ(started[0].code, 0);
  EXPECT_EQ(started[0].text, QStringLiteral("Start Tarnwick Plus Lite Application <Version : 4.2><Build 181110A>"));
  const QList<LogEntry> connected = EntriesContaining(started, QStringLiteral("Successfully Connected to UserProfileDB Database."));
  ASSERT_EQ(connected.size(), 1);
  EXPECT_EQ(connected[0].code, 2);
  EXPECT_EQ(EntriesContaining(started, QStringLiteral("Tarnwick Plus Lite Started..."))[0].code, 10);

  const auto second = Start();
  ASSERT_TRUE(second->waitForFinished(kGenerousBoundMs));
  EXPECT_EQ(second->exitCode(), 0);
  EXPECT_EQ(Log().size(), started.size()) << "the second start logs nothing";
  EXPECT_EQ(first->state(), QProcess::Running);

  EndWithSigterm(first.get());
  const QList<LogEntry> closed = EntriesContaining(Log(), QStringLiteral("Close Tarnwick Plus Lite Application <Version : 4.2><Build 181110A>"));
  ASSERT_EQ(closed.size(), 1);
  EXPECT_EQ(closed[0].code, 9);
  const QList<QJsonObject> boxes = Boxes();
  ASSERT_EQ(boxes.size(), 1) << "only the Profile Manager's warning";
  EXPECT_TRUE(boxes[0][QStringLiteral("text")].toString().startsWith(stopped));
}

TEST_F(AdminProgram, AKilledInstanceDoesNotBlockTheNextStart) {
  testsupport::InstallSettingsDatabase(installation_);
  const auto killed = Start();
  ASSERT_TRUE(WaitForRunning(1));
  killed->kill();
  ASSERT_TRUE(killed->waitForFinished(kGenerousBoundMs));

  const auto next = Start();
  ASSERT_TRUE(WaitForRunning(2)) << next->readAllStandardError().toStdString();
  EndWithSigterm(next.get());
}

TEST_F(AdminProgram, WithoutTheSettingsDatabaseItShowsTheErrorAndEndsWithOne) {
  const auto program = Start();
  ASSERT_TRUE(program->waitForFinished(kGenerousBoundMs));
  EXPECT_EQ(program->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program->exitCode(), 1);
  const QList<QJsonObject> boxes = Boxes();
  ASSERT_EQ(boxes.size(), 1);
  EXPECT_EQ(boxes[0][QStringLiteral("text")].toString(), QStringLiteral("Error in Connecting UserProfileDB Database."));
  EXPECT_EQ(boxes[0][QStringLiteral("caption")].toString(), QStringLiteral("Tarnwick Plus Lite"));
  EXPECT_EQ(boxes[0][QStringLiteral("icon")].toInt(), static_cast<int>(platform::MB_ICONERROR));
  EXPECT_EQ(Count(QStringLiteral("Tarnwick Plus Lite Started...")), 0) << "no main window";
  EXPECT_EQ(Count(QStringLiteral("Close Tarnwick Plus Lite Application")), 0);
}

TEST_F(AdminProgram, OfTwoStartsAtTheSameMomentExactlyOneRuns) {
  testsupport::InstallSettingsDatabase(installation_);
  const auto one = Start();
  const auto other = Start();
  ASSERT_TRUE(WaitForRunning(1));
  QProcess* ended = nullptr;
  // A QProcess learns of its end only while it waits.
  ASSERT_TRUE(Eventually([&] {
    ended = one->waitForFinished(0) ? one.get() : other->waitForFinished(0) ? other.get() : nullptr;
    return ended != nullptr;
  }, std::chrono::milliseconds(kGenerousBoundMs)));
  EXPECT_EQ(ended->exitCode(), 0);
  QProcess* running = ended == one.get() ? other.get() : one.get();
  EXPECT_EQ(running->state(), QProcess::Running);
  EXPECT_EQ(Count(QStringLiteral("Start Tarnwick Plus Lite Application")), 1);
  EndWithSigterm(running);
  EXPECT_EQ(Count(QStringLiteral("Tarnwick Plus Lite Started...")), 1);
}
