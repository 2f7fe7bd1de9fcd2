// The preview over a real SQLite query, and its picture for a look by eye in <build>/screenshots.
#include "admin/foundation/DBConnManager.h"
#include "admin/profiles/PopupDlg.h"
#include "shared/data/SourceKinds.h"
#include "tests/admin/foundation/OdbcTestEngines.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTest>

namespace {

const QColor kCells(255, 255, 224);
const QColor kDialog(210, 210, 255);

void MakeOrders(admin::CDatabseConnection* connection) {
  ASSERT_TRUE(SQL_SUCCEEDED(connection->ExecuteStatement(
      QStringLiteral("CREATE TABLE orders (order_id INTEGER PRIMARY KEY, customer VARCHAR(40), amount INTEGER)"))));
  for (int id = 1; id <= 50; ++id) {
    ASSERT_TRUE(SQL_SUCCEEDED(connection->ExecuteStatement(
        QStringLiteral("INSERT INTO orders VALUES (%1, 'Customer %1', %2)").arg(id).arg(id * 10))));
  }
}

}  // namespace

TEST(PreviewOfASource, ShowsTheRowsOfASqliteQueryInThePopup) {
  {
    admin::CDatabseConnection preparation;
    CONNECT_OR_SKIP(odbctest::Engine::Sqlite, &preparation);
    MakeOrders(&preparation);
  }
  CDBConnManager manager;
  QString error;
  ASSERT_EQ(manager.ConnectByType(odbctest::SqliteTestFile(), QString(), QString(), &error, sourcekind::kMdb), 1)
      << qPrintable(error);
  ASSERT_EQ(manager.FetchContents(&error, QStringLiteral("SELECT order_id, customer, amount FROM orders ORDER BY order_id")),
            1)
      << qPrintable(error);

  CPopupDlg popup;
  popup.setGeometry(50, 50, 480, 320);
  CDatabaseGrid& grid = popup.Grid();
  grid.SetHandler(manager.GetActiveHandler());
  popup.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&popup));
  EXPECT_EQ(grid.GetRowCount(), 51);
  EXPECT_EQ(grid.GetCellText(0, 2), QStringLiteral("customer"));
  EXPECT_EQ(grid.GetCellText(5, 0), QStringLiteral("5"));
  EXPECT_EQ(grid.GetCellText(5, 2), QStringLiteral("Customer 5"));
  EXPECT_EQ(grid.GetCellText(50, 3), QStringLiteral("500"));
  EXPECT_EQ(grid.GetCellText(2, 2), QStringLiteral("Customer 2")) << "rows are read in any order";

  const QImage picture = popup.grab().toImage();
  const QString folder = testsupport::BinaryDir() + QStringLiteral("/screenshots/");
  ASSERT_TRUE(QDir().mkpath(folder));
  EXPECT_TRUE(picture.save(folder + QStringLiteral("preview-popup.png")));
  EXPECT_EQ(picture.pixelColor(200, 3), kDialog) << "the drag band";
  const QRect cell = grid.GetCellRect({3, 3}).translated(grid.viewport()->mapTo(&popup, QPoint(0, 0)));
  EXPECT_EQ(picture.pixelColor(cell.left() + 3, cell.bottom() - 2), kCells);
  const QRect lastColumn = grid.GetCellRect({3, 3});
  const QPoint beyond = grid.viewport()->mapTo(&popup, QPoint(lastColumn.right() + 20, lastColumn.center().y()));
  ASSERT_LT(beyond.x(), picture.width() - 20) << "the columns leave room beyond them";
  EXPECT_EQ(picture.pixelColor(beyond), kDialog);

  popup.hide();
  EXPECT_EQ(grid.GetHandler(), nullptr);
  manager.CloseConnection(false);
}
