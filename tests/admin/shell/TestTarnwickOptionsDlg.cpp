// The Preferences module: the administrator password, the Start/Stop button and the hidden
// controls' handlers, and pictures of it, of the connection settings and of balloon 19.
#include "admin/foundation/AppLog.h"
#include "admin/foundation/LogFile.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/HelpDlg.h"
#include "admin/shell/ProxySettingsDlg.h"
#include "admin/shell/TarnwickApp.h"
#include "admin/shell/TarnwickDlg.h"
#include "admin/shell/TarnwickOptionsDlg.h"
#include "platform/registry/Registry.h"
#include "shared/RegistryHandler.h"
#include "shared/RegistrySettings.h"
#include "shared/contract/RegistryNames.h"
#include "tests/admin/shell/RecordingSyncControl.h"
#include "tests/support/AdminInstallation.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/SettingsStore.h"
#include "tests/support/TestPaths.h"
#include "tests/support/WebServiceDouble.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <memory>

using testsupport::MessageBoxRecorder;

namespace {

CBMButton* Button(const QWidget& dialog, const char* id) {
  auto* button = dialog.findChild<CBMButton*>(QString::fromLatin1(id));
  EXPECT_NE(button, nullptr) << id;
  return button;
}

// Fills the modal dialog that the click opens, through `answer`.
void ClickAndAnswer(CBMButton* button, const std::function<void(QWidget&)>& answer) {
  QTimer::singleShot(0, [answer] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) {
      ADD_FAILURE() << "no dialog opened";
      return;
    }
    answer(*modal);
  });
  button->click();
}

void Type(QWidget& dialog, const char* id, const QString& text) {
  dialog.findChild<QLineEdit*>(QString::fromLatin1(id))->setText(text);
}

QStringList Boxes() {
  QStringList texts;
  for (const auto& box : MessageBoxRecorder::Global().shown()) {
    EXPECT_EQ(box.caption, QStringLiteral("Tarnwick Plus Lite"));
    texts.append(box.text);
  }
  MessageBoxRecorder::Global().Clear();
  return texts;
}

class Preferences : public ::testing::Test {
 protected:
  void SetUp() override {
    MessageBoxRecorder::Global().Clear();
    installation_ = testsupport::InstallAdmin();
    log_ = std::make_unique<CLogFile>(installation_ + QStringLiteral("Desktop Files/Logs/"), QStringLiteral("Test.log"));
    SetAppLog(log_.get());
  }
  void TearDown() override { SetAppLog(nullptr); }

  // The module over a recording synchronisation control, kept in `control_`.
  std::unique_ptr<CTarnwickOptionsDlg> Open(const std::function<void(RecordingSyncControl&)>& given = {}) {
    auto control = std::make_unique<RecordingSyncControl>();
    if (given) given(*control);
    control_ = control.get();
    return std::make_unique<CTarnwickOptionsDlg>(nullptr, std::move(control));
  }

  QString LogText() const {
    QFile file(log_->FilePath());
    if (!file.open(QIODevice::ReadOnly)) return QString();
    const QByteArray bytes = file.readAll().mid(2);
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), bytes.size() / 2);
  }

  QString installation_;
  std::unique_ptr<CLogFile> log_;
  RecordingSyncControl* control_ = nullptr;
};

}  // namespace

TEST_F(Preferences, TheStartButtonShowsAndTogglesTheState) {
  auto dialog = Open([](RecordingSyncControl& c) { c.programRunning = 1; });
  EXPECT_EQ(Button(*dialog, "1160")->text(), QStringLiteral("Stop Synchronization"));
  EXPECT_EQ(control_->log, QStringList{QStringLiteral("<-1> SyncService As Application is Enabled.")});
  Button(*dialog, "1160")->click();
  EXPECT_EQ(Button(*dialog, "1160")->text(), QStringLiteral("Start Synchronization"));
  EXPECT_EQ(Boxes(), QStringList{}) << "the control's own boxes";
  EXPECT_EQ(control_->steps.last(), QStringLiteral("box 0: Synchronization stopped successfully."));
  QTest::keyClick(dialog.get(), Qt::Key_Return);
  QTest::keyClick(dialog.get(), Qt::Key_Escape);
  EXPECT_EQ(dialog->result(), 0) << "Enter does not close the module";
}

TEST_F(Preferences, ThePasswordIsSetAndThenChanged) {
  {
    platform::RegistryKeyGuard key;  // the installer makes the record key
    ASSERT_EQ(platform::RegCreateKeyEx(platform::HKEY_LOCAL_MACHINE, registrynames::RecordKeyName(),
                                       platform::KEY_ALL_ACCESS, key.out()),
              platform::ERROR_SUCCESS);
  }
  auto dialog = Open();
  CBMButton* password = Button(*dialog, "1162");
  ASSERT_EQ(password->text(), QStringLiteral("Set Password"));
  ClickAndAnswer(password, [](QWidget& prompt) {
    Type(prompt, "1055", QStringLiteral("Secret1"));
    Button(prompt, "1")->click();
  });
  EXPECT_EQ(Boxes(), QStringList{QStringLiteral("Administrator's Password Set Successfully.")});
  EXPECT_EQ(password->text(), QStringLiteral("Change Password"));
  QString stored;
  ASSERT_EQ(GetRegistryHandler()->ReadAdminPassword(&stored), 1);
  EXPECT_EQ(stored, QStringLiteral("Secret1"));

  auto reopened = Open();
  ASSERT_EQ(Button(*reopened, "1162")->text(), QStringLiteral("Change Password"));
  ClickAndAnswer(Button(*reopened, "1162"), [](QWidget& prompt) {
    Type(prompt, "1007", QStringLiteral("Secret1"));
    Type(prompt, "1010", QStringLiteral("Better2"));
    Type(prompt, "1012", QStringLiteral("Better2"));
    Button(prompt, "1013")->click();
  });
  EXPECT_EQ(Boxes(), QStringList{QStringLiteral("Administrator's Password Change Successfully.")});
  ASSERT_EQ(GetRegistryHandler()->ReadAdminPassword(&stored), 1);
  EXPECT_EQ(stored, QStringLiteral("Better2"));
}

TEST_F(Preferences, TheHiddenAddressHandlersTestAndSaveTheAddress) {
  testsupport::WebServiceDouble service;
  ASSERT_TRUE(service.Started()) << service.Error().toStdString();
  auto dialog = Open();
  auto* address = dialog->findChild<QLineEdit*>(QStringLiteral("1055"));
  CBMButton* save = Button(*dialog, "1130");
  EXPECT_FALSE(address->isVisibleTo(dialog.get()));
  Button(*dialog, "1153")->click();
  EXPECT_EQ(Boxes(), QStringList{QStringLiteral("Web Service URL should not empty, Please specify URL ?")});

  service.SetFault(QStringLiteral("GetDataTest"), QStringLiteral("http500"));
  address->setText(QStringLiteral("  ") + service.Url() + QStringLiteral(" "));
  Button(*dialog, "1153")->click();
  save->click();
  EXPECT_EQ(Boxes(), (QStringList{QStringLiteral("Failed to Test Web Service URL."),
                                  QStringLiteral("Failed to Test Web Service URL.")}));
  EXPECT_TRUE(save->isEnabled());

  service.SetFault(QStringLiteral("GetDataTest"), QStringLiteral("none"));
  Button(*dialog, "1153")->click();
  EXPECT_EQ(Boxes(), QStringList{QStringLiteral("Successfully Test Web Service URL.")});
  save->click();
  EXPECT_TRUE(Boxes().isEmpty());
  EXPECT_FALSE(save->isEnabled());
  const auto stored = testsupport::StoredValue(registrynames::kSettingsKey, QStringLiteral("WebServiceURL"));
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->ToString(), service.Url());
  address->setText(service.Url() + QStringLiteral("x"));
  EXPECT_TRUE(save->isEnabled());
  address->setText(service.Url() + QStringLiteral("  "));
  EXPECT_FALSE(save->isEnabled()) << "the saved address again";
}

TEST_F(Preferences, TheHiddenConnectorAndUserHandlersTakeTheirPathsHere) {
  auto dialog = Open();
  Button(*dialog, "1112")->click();
  EXPECT_EQ(Boxes(), QStringList{QStringLiteral("Unable to start TarnwickConnectorService. Contact %1 for more "
                                                "information.")
                                     .arg(SupportAddress())});
  MessageBoxRecorder::Global().ScriptAnswers({platform::IDYES});
  Button(*dialog, "1113")->click();
  EXPECT_EQ(Boxes().size(), 2) << "the question and the failure";
  Button(*dialog, "1086")->click();
  Button(*dialog, "1095")->click();
  const QString log = LogText();
  EXPECT_TRUE(log.contains(QStringLiteral("Problem in starting TarnwickConnectorService: -2")));
  EXPECT_TRUE(log.contains(QStringLiteral("<66> Set Device User Password Call Start.")));
  EXPECT_TRUE(log.contains(QStringLiteral("<74> Set Device User Password Call End.")));
  EXPECT_TRUE(log.contains(QStringLiteral("<75> Set Delete all Profile Call End.")));
}

namespace {

QString ScreenshotFolder() {
  const QString folder = testsupport::BinaryDir() + QStringLiteral("/screenshots/");
  EXPECT_TRUE(QDir().mkpath(folder));
  return folder;
}

}  // namespace

TEST_F(Preferences, PicturesOfTheModuleInTheMainWindowTheConnectionSettingsAndBalloon19) {
  ASSERT_TRUE(testsupport::StoreSealedValue(registrynames::RecordKeyName(), QStringLiteral("APas"), "Secret1"));
  CTarnwickApp app;
  CTarnwickDlg main;
  main.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
  main.findChild<QLineEdit*>(QStringLiteral("1003"))->setText(QStringLiteral("Secret1"));
  QTest::mouseClick(main.findChild<QAbstractButton*>(QStringLiteral("1004")), Qt::LeftButton);
  auto* tree = main.findChild<QTreeWidget*>();
  ASSERT_NE(tree, nullptr);
  const QList<QTreeWidgetItem*> items = tree->findItems(QStringLiteral("Preferences"), Qt::MatchRecursive);
  ASSERT_EQ(items.size(), 1);
  tree->setCurrentItem(items.front());
  auto* module = qobject_cast<CTarnwickOptionsDlg*>(main.GetModuleDialog());
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(module->geometry(), QRect(205, 62, 760, 400));
  for (QWidget* control : module->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    EXPECT_TRUE(module->rect().contains(control->geometry())) << control->objectName().toStdString();
  }
  EXPECT_TRUE(main.grab().save(ScreenshotFolder() + QStringLiteral("preferences.png")));

  CProxySettingsDlg proxy;
  proxy.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&proxy));
  EXPECT_TRUE(proxy.grab().save(ScreenshotFolder() + QStringLiteral("connection-settings.png")));

  CHelpDlg balloon;
  balloon.SetTopic(19);
  QTimer::singleShot(0, [] {
    auto* shown = qobject_cast<CHelpDlg*>(QApplication::activeModalWidget());
    if (shown == nullptr) return;
    EXPECT_TRUE(shown->grab().save(ScreenshotFolder() + QStringLiteral("balloon-19.png")));
    shown->accept();
  });
  balloon.exec();
}
