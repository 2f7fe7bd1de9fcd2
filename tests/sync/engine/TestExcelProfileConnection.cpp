#include "shared/WorkbookFolder.h"
#include "sync/engine/ExcelProfileConnection.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/LogReader.h"
#include "tests/support/SyncInstallation.h"
#include "tests/support/XlsxFixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

using testsupport::LogEntry;

namespace {

QString Folder() { return testsupport::CurrentMachineRoot() + QStringLiteral("/books/"); }

QList<LogEntry> Log() {
  return testsupport::ReadLogEntries(synctest::TodaysLogFolder() + QStringLiteral("/SyncServiceLog.log"));
}

QStringList ExportedFiles() { return QDir(WorkbookTempFolder()).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name); }

class ExcelProfileConnection : public ::testing::Test {
 protected:
  void SetUp() override {
    synctest::PrepareInstallation();
    ASSERT_TRUE(QDir().mkpath(Folder()));
  }
};

TEST_F(ExcelProfileConnection, EverySheetIsExportedWithItsSchemaSection) {
  {
    testsupport::XlsxFixture fixture(Folder() + QStringLiteral("three.xlsx"));
    for (const char* name : {"North", "South", "West"}) {
      lxw_worksheet* sheet = fixture.AddSheet(name);
      worksheet_write_string(sheet, 0, 0, "Item", nullptr);
      worksheet_write_string(sheet, 2, 0, name, nullptr);  // an empty row before it
    }
    ASSERT_TRUE(fixture.Close());
  }
  EXPECT_EQ(ConnectExcelProfile(Folder() + QStringLiteral("three.xlsx"), QStringLiteral("three.xlsx")), 3);
  EXPECT_EQ(ExportedFiles(), (QStringList{QStringLiteral("North.txt"), QStringLiteral("South.txt"), QStringLiteral("West.txt")}));
  QFile schema(WorkbookTempFolder() + QStringLiteral("/schema.ini"));
  ASSERT_TRUE(schema.open(QIODevice::ReadOnly));
  const QByteArray bytes = schema.readAll();
  const QString sections = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), bytes.size() / 2);
  for (const char16_t* section : {u"[North.txt]", u"[South.txt]", u"[West.txt]"})
    EXPECT_TRUE(sections.contains(QStringView(section))) << qPrintable(QString::fromUtf16(section));
  const QList<LogEntry> success = testsupport::EntriesContaining(Log(), QStringLiteral("Success to connecting Excel profile."));
  ASSERT_EQ(success.size(), 1);
  EXPECT_EQ(success.first().code, -14);
}

TEST_F(ExcelProfileConnection, AWorkbookThatCannotBeOpenedGivesTwoLinesAndNoExport) {
  EXPECT_EQ(ConnectExcelProfile(Folder() + QStringLiteral("missing.xlsx"), QStringLiteral("missing.xlsx")), 0);
  QList<LogEntry> failures;
  for (const LogEntry& entry : Log()) {
    if (entry.code == -13) failures.append(entry);
  }
  ASSERT_EQ(failures.size(), 2);
  EXPECT_EQ(failures.at(0).text, QStringLiteral("Problem connecting Excel profile."));
  EXPECT_FALSE(failures.at(1).text.isEmpty());
  EXPECT_TRUE(ExportedFiles().isEmpty());
}

}  // namespace
