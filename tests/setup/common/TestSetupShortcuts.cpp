#include "platform/os/MachineRoot.h"
#include "setup/common/SetupShortcuts.h"
#include "tests/support/FreshMachineRoot.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>

namespace {

// A desktop entry's keys with the string escapes of the format undone.
QMap<QString, QString> ReadEntry(const QString& path) {
  QFile file(path);
  QMap<QString, QString> entry;
  if (!file.open(QIODevice::ReadOnly)) return entry;
  for (const QByteArray& raw : file.readAll().split('\n')) {
    const QString line = QString::fromUtf8(raw);
    const qsizetype equals = line.indexOf(u'=');
    if (equals <= 0) continue;
    QString value;
    const QString escaped = line.mid(equals + 1);
    for (qsizetype i = 0; i < escaped.size(); ++i) {
      if (escaped[i] != u'\\' || i + 1 == escaped.size()) {
        value += escaped[i];
        continue;
      }
      const QChar next = escaped[++i];
      value += next == u's' ? QChar(u' ') : next == u'n' ? QChar(u'\n') : next == u't' ? QChar(u'\t') : next;
    }
    entry.insert(line.left(equals), value);
  }
  return entry;
}

// The arguments of an Exec value as a launcher splits them: blanks separate, double quotes
// group with backslash escapes inside, "%%" is one "%".
QStringList ExecArguments(const QString& exec) {
  QStringList arguments;
  QString current;
  bool quoted = false;
  bool any = false;
  for (qsizetype i = 0; i < exec.size(); ++i) {
    const QChar c = exec[i];
    if (quoted && c == u'\\' && i + 1 < exec.size()) {
      current += exec[++i];
    } else if (c == u'"') {
      quoted = !quoted;
      any = true;
    } else if (c == u'%' && i + 1 < exec.size() && exec[i + 1] == u'%') {
      current += c;
      ++i;
    } else if (c == u' ' && !quoted) {
      if (any || !current.isEmpty()) arguments.append(current);
      current.clear();
      any = false;
    } else {
      current += c;
    }
  }
  if (any || !current.isEmpty()) arguments.append(current);
  return arguments;
}

// The file's permission bits as the octal mode a shell shows.
int Mode(const QString& path) {
  const QFile::Permissions permissions = QFile::permissions(path);
  const QFile::Permission bits[] = {QFile::ReadOwner, QFile::WriteOwner, QFile::ExeOwner, QFile::ReadGroup, QFile::WriteGroup,
                                    QFile::ExeGroup,  QFile::ReadOther,  QFile::WriteOther, QFile::ExeOther};
  int mode = 0;
  for (const QFile::Permission bit : bits) mode = mode * 2 + (permissions.testFlag(bit) ? 1 : 0);
  return mode;
}

QString Folder(platform::SpecialFolder folder) { return platform::SpecialFolderPath(folder) + u'/'; }

class SetupShortcutsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    installation_ = testsupport::CurrentMachineRoot() + QStringLiteral("/opt/Tarnwick 100% \"Plus\" \\ Lite/");
  }
  SetupLogSink Sink() {
    return [this](const QString& text) { lines_.append(text); };
  }

  QString installation_;
  QStringList lines_;
};

TEST_F(SetupShortcutsTest, EveryShortcutStartsItsTarget) {
  const QString desktopFiles = installation_ + QStringLiteral("Desktop Files/");
  const QString pocketPc = installation_ + QStringLiteral("Device Installation Files/PocketPC/");
  const QString desktop = Folder(platform::SpecialFolder::Desktop);
  const QString startMenu = Folder(platform::SpecialFolder::Programs) + QStringLiteral("Tarnwick Plus Lite/");
  struct Expected {
    QString file;
    QStringList exec;
    QString workingFolder;
    QString comment;  // empty: no comment
  };
  const Expected expected[] = {
      {desktop + QStringLiteral("Tarnwick Plus Lite.desktop"), {desktopFiles + QStringLiteral("TarnwickPlusLite")}, desktopFiles,
       QStringLiteral("Tarnwick Plus Lite")},
      {desktop + QStringLiteral("Tarnwick Plus Lite UserGuide.desktop"),
       {QStringLiteral("xdg-open"), desktopFiles + QStringLiteral("TarnwickPlusUserGuide.pdf")}, desktopFiles,
       QStringLiteral("Tarnwick Plus Lite")},
      {startMenu + QStringLiteral("Tarnwick Plus Lite.desktop"), {desktopFiles + QStringLiteral("TarnwickPlusLite")}, desktopFiles,
       QStringLiteral("TarnwickPlusLite")},
      {startMenu + QStringLiteral("User Guide.desktop"),
       {QStringLiteral("xdg-open"), desktopFiles + QStringLiteral("TarnwickPlusUserGuide.pdf")}, desktopFiles,
       QStringLiteral("TarnwickPlusUserGuide.pdf")},
      {startMenu + QStringLiteral("UnInstall Tarnwick Plus Lite.desktop"),
       {desktopFiles + QStringLiteral("TarnwickPlusLiteUnInstaller")}, desktopFiles, QStringLiteral("TarnwickPlusLiteUnInstaller")},
      {startMenu + QStringLiteral("PocketPC Setup.desktop"), {pocketPc + QStringLiteral("PocketPC_Setup")}, pocketPc, {}},
      {Folder(platform::SpecialFolder::Startup) + QStringLiteral("Start TarnwickPSyncServiceLite.desktop"),
       {desktopFiles + QStringLiteral("TarnwickPStartSyncServiceLite")}, desktopFiles, {}},
  };
  EXPECT_EQ(CreateAppShortcuts(installation_, 3), 1);
  EXPECT_TRUE(CreateStartupShortCut(installation_));
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.file.toStdString());
    const QMap<QString, QString> entry = ReadEntry(e.file);
    ASSERT_FALSE(entry.isEmpty());
    EXPECT_EQ(entry.value(QStringLiteral("Type")), QStringLiteral("Application"));
    EXPECT_EQ(entry.value(QStringLiteral("Name")), QFileInfo(e.file).completeBaseName());
    EXPECT_EQ(ExecArguments(entry.value(QStringLiteral("Exec"))), e.exec);
    EXPECT_EQ(entry.value(QStringLiteral("Path")), e.workingFolder);
    EXPECT_EQ(entry.value(QStringLiteral("Comment")), e.comment);
    EXPECT_EQ(Mode(e.file), 0755) << "launchers run, and every user reads them";
  }

  EXPECT_EQ(DeleteAppShortcuts(3, Sink()), 0);
  EXPECT_TRUE(DeleteStartupShortCut(Sink()));
  EXPECT_TRUE(lines_.isEmpty()) << lines_.join(u'\n').toStdString();
  for (const Expected& e : expected) EXPECT_FALSE(QFile::exists(e.file)) << e.file.toStdString();
  EXPECT_FALSE(QDir(startMenu).exists());
}

TEST_F(SetupShortcutsTest, PocketPcSetupOnlyForItsDeviceType) {
  CreateAppShortcuts(installation_, 2);
  const QString startMenu = Folder(platform::SpecialFolder::Programs) + QStringLiteral("Tarnwick Plus Lite/");
  EXPECT_EQ(QDir(startMenu).entryList(QDir::Files).size(), 3);
  EXPECT_FALSE(QFile::exists(startMenu + QStringLiteral("PocketPC Setup.desktop")));
}

TEST_F(SetupShortcutsTest, MissingShortcutsAreLogged) {
  CreateAppShortcuts(installation_, 2);
  const QString desktopLink = Folder(platform::SpecialFolder::Desktop) + QStringLiteral("Tarnwick Plus Lite.desktop");
  QFile::remove(desktopLink);
  EXPECT_EQ(DeleteAppShortcuts(2, Sink()), 0);
  EXPECT_EQ(lines_, QStringList{QStringLiteral("Problem in deleting shortcut : ") + desktopLink});

  lines_.clear();
  EXPECT_FALSE(DeleteStartupShortCut(Sink()));
  ASSERT_EQ(lines_.size(), 1);
  EXPECT_TRUE(lines_[0].startsWith(QStringLiteral("<Startup Setting> Problem in deleting shortcut : ")));
}

}  // namespace
