#include "platform/os/MachineRoot.h"
#include "shared/data/WorkbookConnection.h"
#include "tests/support/XlsxFixture.h"

#include <gtest/gtest.h>

#include <QFile>

namespace {

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

// The administration program saves an .xls workbook opened read-write (the model writes it as a
// package); the sync program leaves the file as it was.
TEST(WorkbookConnection, SavesAnXlsWorkbookOnClosingOnlyWhenItsConventionsSaySo) {
  const QString path = platform::MachineRoot() + QStringLiteral("/people.xls");
  for (const bool savesXls : {true, false}) {
    ASSERT_TRUE(testsupport::WriteXlsFixture(path, QStringLiteral("[('People', [(0, 0, 'n0', None)])]")));
    const QByteArray before = ReadBytes(path);
    QStringList logged;
    {
      const auto log = [&logged](const QString& text) { logged.append(text); };
      data::WorkbookConnection connection({log, QString(), savesXls});
      ASSERT_EQ(connection.OpenWorkbook(path, nullptr, false), 1);
    }
    const QByteArray after = ReadBytes(path);
    EXPECT_EQ(after.startsWith("PK"), savesXls) << savesXls;
    EXPECT_EQ(after == before, !savesXls) << savesXls;
    EXPECT_TRUE(logged.isEmpty()) << logged.join(u'\n').toStdString();
  }
}
