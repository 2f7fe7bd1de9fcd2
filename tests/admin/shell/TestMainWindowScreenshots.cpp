// Pictures of the main window for a look by eye, in <build>/screenshots, and what they must show.
#include "admin/shell/TarnwickApp.h"
#include "admin/shell/TarnwickDlg.h"
#include "shared/RegistrySettings.h"
#include "shared/contract/RegistryNames.h"
#include "tests/support/AdminInstallation.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/SettingsStore.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

namespace {

const QRect kModuleArea(205, 62, 760, 400);

QList<QWidget*> VisibleControls(const CTarnwickDlg& dialog) {
  QList<QWidget*> visible;
  for (QWidget* child : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (child->isVisibleTo(&dialog)) visible.append(child);
  return visible;
}

// Saves the picture and checks the layout it shows.
void Shoot(CTarnwickDlg& dialog, const QString& name) {
  const QString folder = testsupport::BinaryDir() + QStringLiteral("/screenshots/");
  ASSERT_TRUE(QDir().mkpath(folder));
  const QPixmap picture = dialog.grab();
  EXPECT_EQ(picture.size(), QSize(970, 530));
  EXPECT_TRUE(picture.save(folder + name));

  const QList<QWidget*> visible = VisibleControls(dialog);
  QList<QRect> buttons;
  for (const QWidget* control : visible) {
    EXPECT_TRUE(dialog.rect().contains(control->geometry())) << control->objectName().toStdString();
    if (qobject_cast<const QAbstractButton*>(control) != nullptr) buttons.append(control->geometry());
  }
  for (qsizetype i = 0; i < buttons.size(); ++i)
    for (qsizetype j = i + 1; j < buttons.size(); ++j) EXPECT_FALSE(buttons[i].intersects(buttons[j]));
}

}  // namespace

TEST(MainWindowScreenshots, LoggedOutOnTheRootAndLoggedInOnAModule) {
  testsupport::MessageBoxRecorder::Global().Clear();
  testsupport::InstallAdmin();
  ASSERT_TRUE(testsupport::StoreSealedValue(registrynames::RecordKeyName(), QStringLiteral("APas"), "Secret1"));
  CTarnwickApp app;
  CTarnwickDlg dialog;
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  Shoot(dialog, QStringLiteral("main-logged-out.png"));

  dialog.findChild<QLineEdit*>(QStringLiteral("1003"))->setText(QStringLiteral("Secret1"));
  QTest::mouseClick(dialog.findChild<QAbstractButton*>(QStringLiteral("1004")), Qt::LeftButton);
  ASSERT_NE(dialog.GetModuleDialog(), nullptr);
  Shoot(dialog, QStringLiteral("main-logged-in-profile-manager.png"));
  EXPECT_EQ(dialog.GetModuleDialog()->geometry(), kModuleArea);
  for (QWidget* control : VisibleControls(dialog)) {
    if (control != dialog.GetModuleDialog()) {
      EXPECT_FALSE(control->geometry().intersects(kModuleArea)) << control->objectName().toStdString();
    }
  }
}
