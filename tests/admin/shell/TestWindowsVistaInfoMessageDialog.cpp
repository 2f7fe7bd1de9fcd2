#include "admin/shell/TarnwickApp.h"
#include "admin/shell/WindowsVistaInfoMessageDialog.h"
#include "platform/registry/Registry.h"
#include "shared/RegistrySettings.h"
#include "shared/contract/RegistryNames.h"
#include "tests/support/AdminInstallation.h"
#include "tests/support/LogReader.h"
#include "tests/support/SettingsStore.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>

using testsupport::LogEntry;

namespace {

using Answer = std::function<void(CWindowsVistaInfoMessageDialog&)>;

void PressEscape(CWindowsVistaInfoMessageDialog& notice) { QTest::keyClick(&notice, Qt::Key_Escape); }

void TickAndOk(CWindowsVistaInfoMessageDialog& notice) {
  notice.findChild<QCheckBox*>(QStringLiteral("1272"))->setChecked(true);
  notice.findChild<QPushButton*>(QStringLiteral("1"))->click();
}

class WindowsNotice : public ::testing::Test {
 protected:
  void SetUp() override { installation_ = testsupport::InstallAdmin(); }
  void TearDown() override { CTarnwickApp::SetOsKindSource(nullptr); }

  // Runs the check on a system of `kind`, answering the notice (when one shows) with `answer`;
  // true when it showed.
  bool Check(int kind, const Answer& answer) {
    CTarnwickApp::SetOsKindSource([kind] { return kind; });
    bool shown = false;
    QTimer::singleShot(0, [&] {
      if (auto* notice = qobject_cast<CWindowsVistaInfoMessageDialog*>(QApplication::activeModalWidget())) {
        shown = true;
        answer(*notice);
      }
    });
    CTarnwickApp app;
    app.CheckWindowsOS();
    QCoreApplication::processEvents();
    return shown;
  }

  static void StoreFlag(std::optional<uint32_t> flag) {
    using namespace platform;
    if (flag) {
      ASSERT_TRUE(testsupport::StoreValue(registrynames::kSettingsKey, QStringLiteral("OSVersionMessageFlag"),
                                          RegistryValue::FromDword(*flag)));
      return;
    }
    RegistryKeyGuard key;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, registrynames::kSettingsKey, KEY_WRITE, key.out()), ERROR_SUCCESS);
    RegDeleteValue(key.get(), QStringLiteral("OSVersionMessageFlag"));
  }

  static std::optional<uint32_t> StoredFlag() {
    const auto value = testsupport::StoredValue(registrynames::kSettingsKey, QStringLiteral("OSVersionMessageFlag"));
    platform::DWORD number = 0;
    if (!value || !value->ToDword(&number)) return std::nullopt;
    return number;
  }

  // The log's texts from `from` on, each checked for its location.
  QStringList LogTexts(qsizetype from, int location) const {
    QStringList texts;
    const QList<LogEntry> log = testsupport::ReadLogEntries(testsupport::TodaysAdminLog(installation_));
    for (qsizetype i = from; i < log.size(); ++i) {
      if (location != 0) {
        EXPECT_EQ(log[i].code, location) << log[i].text.toStdString();
      }
      texts.append(log[i].text);
    }
    return texts;
  }
  qsizetype LogSize() const { return LogTexts(0, 0).size(); }

  QString installation_;
};

const QString kStart = QStringLiteral("CTarnwickApp::CheckWindowsOS() start ");
const QString kEnd = QStringLiteral("CTarnwickApp::CheckWindowsOS() End ");

}  // namespace

TEST_F(WindowsNotice, ShowsForVistaAndSevenUnlessSwitchedOffAndEscapeStoresNothing) {
  struct Case {
    int kind;
    std::optional<uint32_t> flag;
    bool shown;
    QString line;  // between the start and end lines
  };
  const QString checked = QStringLiteral("Do not Show this Message Again checkbox is Checked");
  const QString notChecked = QStringLiteral("Do not Show this Message Again checkbox is not Checked");
  for (const Case& c : {Case{30, 2u, false, checked}, Case{30, 1u, true, notChecked}, Case{30, 0u, true, notChecked},
                        Case{30, std::nullopt, true, notChecked}, Case{29, std::nullopt, true, notChecked},
                        Case{37, 7u, true, notChecked},
                        Case{12, std::nullopt, false, QStringLiteral("Do not disp Vista and Windows 7 Message")},
                        Case{6, std::nullopt, false, QString()}, Case{11, std::nullopt, false, QString()},
                        Case{0, std::nullopt, false, QString()}, Case{52, std::nullopt, false, QString()}}) {
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " flag " << c.flag.value_or(99));
    StoreFlag(c.flag);
    const qsizetype before = LogSize();
    EXPECT_EQ(Check(c.kind, PressEscape), c.shown);
    QStringList expected{kStart};
    if (!c.line.isEmpty()) expected.append(c.line);
    expected.append(kEnd);
    EXPECT_EQ(LogTexts(before, 9), expected);
    EXPECT_EQ(StoredFlag(), c.flag) << "Esc stores nothing";
  }
}

TEST_F(WindowsNotice, TickAndOkStoreTwoAndTheNoticeStaysAway) {
  EXPECT_TRUE(Check(30, [](CWindowsVistaInfoMessageDialog& notice) {
    EXPECT_EQ(notice.windowTitle(), QStringLiteral("Administrative settings for windows 7 and windows vista"));
    const QString text = notice.findChild<QLabel*>(QStringLiteral("1273"))->text();
    EXPECT_TRUE(text.startsWith(u"For Windows Vista and Windows 7, Please set \"Run this program as an administrator\" property"));
    EXPECT_TRUE(text.contains(u"1. C:\\Program Files\\Tarnwick Plus\\Desktop Files\\TarnwickPlus.exe .\n\n2. "));
    EXPECT_TRUE(text.endsWith(u"click on \"Start Synchronization\" .\n\nNow you are ready to use the software on Vista or Windows 7."));
    EXPECT_EQ(notice.findChild<QCheckBox*>(QStringLiteral("1272"))->text(), QStringLiteral("Do not show this message again."));
    TickAndOk(notice);
  }));
  EXPECT_EQ(StoredFlag(), 2u);
  const QStringList log = LogTexts(0, 0);
  EXPECT_EQ(log.mid(log.indexOf(QStringLiteral("CWindowsVistaInfoMessageDialog::OnOK() start ")), 3),
            (QStringList{QStringLiteral("CWindowsVistaInfoMessageDialog::OnOK() start "),
                         QStringLiteral("Check box flag is set to : 1 i.e : checked"),
                         QStringLiteral("CWindowsVistaInfoMessageDialog::OnOK()End")}));
  EXPECT_FALSE(Check(30, PressEscape));

  StoreFlag(0);
  EXPECT_TRUE(Check(33, [](CWindowsVistaInfoMessageDialog& notice) {
    notice.findChild<QCheckBox*>(QStringLiteral("1272"))->setChecked(true);
    PressEscape(notice);
  }));
  EXPECT_EQ(StoredFlag(), 0u) << "a ticked box closed with Esc stores nothing";
}
