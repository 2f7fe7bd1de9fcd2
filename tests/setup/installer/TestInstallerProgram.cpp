// The real installer, started as a child over an installation, its boxes written to a transcript.
#include "platform/os/MachineRoot.h"
#include "platform/registry/Registry.h"
#include "platform/widgets/MessageBox.h"
#include "setup/common/SetupLog.h"
#include "shared/RegistryRecords.h"
#include "shared/contract/RegistryNames.h"
#include "tests/setup/installer/InstallLogLines.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>

namespace {

// Far above what a start and an end take on a loaded machine.
constexpr int kGenerousBoundMs = 30'000;

TEST(InstallerProgram, RefusesToRunOverAnInstallationAndChangesNothing) {
  const QString root = testsupport::CurrentMachineRoot();
  const QString installed = root + QStringLiteral("/opt/Tarnwick Plus Lite/");
  ASSERT_TRUE(QDir().mkpath(installed));
  {
    platform::RegistryKeyGuard key;
    platform::RegCreateKeyEx(platform::HKEY_LOCAL_MACHINE, registrynames::kSettingsKey, platform::KEY_ALL_ACCESS,
                             key.out());
    platform::RegSetValueEx(key.get(), QStringLiteral("InstallationPath"),
                            platform::RegistryValue::FromString(installed));
  }
  const QStringList hives = QDir(platform::RegistryFolder()).entryList(QDir::Files);
  QList<QByteArray> before;
  for (const QString& name : hives) {
    QFile file(platform::RegistryFolder() + u'/' + name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    before.append(file.readAll());
  }

  const QString transcript = root + QStringLiteral("/boxes.jsonl");
  QProcess installer;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QString::fromLatin1(platform::kMessageBoxTranscriptVariable), transcript);
  installer.setProcessEnvironment(environment);
  installer.setWorkingDirectory(root);
  installer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  installer.start(testsupport::ProgramPath(QStringLiteral("TarnwickPInstaller")), {});
  ASSERT_TRUE(installer.waitForFinished(kGenerousBoundMs));
  EXPECT_EQ(installer.exitStatus(), QProcess::NormalExit);

  QFile boxes(transcript);
  ASSERT_TRUE(boxes.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = boxes.readAll().trimmed().split('\n');
  ASSERT_EQ(lines.size(), 1);
  const QJsonObject box = QJsonDocument::fromJson(lines[0]).object();
  EXPECT_EQ(box[QStringLiteral("text")].toString(),
            QStringLiteral("Please unintall previous version of Tarnwick Plus."));
  EXPECT_EQ(box[QStringLiteral("caption")].toString(), QStringLiteral("Tarnwick Plus Lite"));

  QList<QByteArray> after;
  for (const QString& name : QDir(platform::RegistryFolder()).entryList(QDir::Files)) {
    QFile file(platform::RegistryFolder() + u'/' + name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    after.append(file.readAll());
  }
  EXPECT_EQ(after, before);
  EXPECT_EQ(QDir(installed).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
  EXPECT_TRUE(installertest::InstallLogLines().contains(QStringLiteral("Previous installation exists.")));
}

}  // namespace
