#include "admin/shell/BMButton.h"
#include "admin/shell/ChangePasswordDlg.h"
#include "admin/shell/SetAdministrativePasswordDlg.h"
#include "shared/RegistryHandler.h"
#include "shared/RegistrySettings.h"
#include "shared/contract/RegistryNames.h"
#include "tests/support/DialogControls.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/SettingsStore.h"
#include "tests/support/WidgetReach.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

using testsupport::MessageBoxRecorder;

namespace {

const QString kShort = QStringLiteral("Password must have atleast 6 characters.");

using testsupport::Control;

// The texts of the boxes shown since the last call, each an error box of the program.
QStringList ErrorBoxes() {
  QStringList texts;
  for (const auto& box : MessageBoxRecorder::Global().shown()) {
    EXPECT_EQ(box.icon(), platform::MB_ICONERROR);
    texts.append(box.text);
  }
  MessageBoxRecorder::Global().Clear();
  return texts;
}

class PasswordDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    MessageBoxRecorder::Global().Clear();
    ASSERT_TRUE(testsupport::StoreSealedValue(registrynames::RecordKeyName(), QStringLiteral("APas"), "Secret1"));
  }
};

}  // namespace

TEST_F(PasswordDialogs, ChangeEnablesItsFieldsOnlyForTheCurrentPasswordAndApplyForTwoTexts) {
  CChangePasswordDlg dialog;
  auto* current = Control<QLineEdit>(dialog, "1007");
  auto* fresh = Control<QLineEdit>(dialog, "1010");
  auto* confirm = Control<QLineEdit>(dialog, "1012");
  auto* apply = Control<CBMButton>(dialog, "1013");
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Change Administrative Password"));
  EXPECT_EQ(dialog.focusWidget(), current);
  const auto enabled = [&] { return std::array{fresh->isEnabled(), confirm->isEnabled(), apply->isEnabled()}; };
  EXPECT_EQ(enabled(), (std::array{false, false, false}));
  current->setText(QStringLiteral("secret1"));
  EXPECT_EQ(enabled(), (std::array{false, false, false}));
  current->setText(QStringLiteral("Secret1"));
  EXPECT_EQ(enabled(), (std::array{true, true, false}));
  fresh->setText(QStringLiteral("abc"));
  EXPECT_EQ(enabled(), (std::array{true, true, false}));
  confirm->setText(QStringLiteral("x"));
  EXPECT_EQ(enabled(), (std::array{true, true, true}));
  current->setText(QStringLiteral("Secret"));
  EXPECT_EQ(enabled(), (std::array{false, false, false}));
  Control<CBMButton>(dialog, "1015")->click();  // Help does nothing
  EXPECT_TRUE(MessageBoxRecorder::Global().shown().isEmpty());
  EXPECT_EQ(dialog.result(), 0);
}

// The confirmation is checked before the length; each refusal keeps the dialog open and puts
// the focus on the new password.
TEST_F(PasswordDialogs, ChangeChecksTheConfirmationFirstThenTheLength) {
  struct Case {
    const char* fresh;
    const char* confirm;
    QString refusal;
  };
  for (const Case& c : {Case{"abcde", "abcdf", QStringLiteral("New Password Confirmation failed.")},
                        Case{"abcdefg", "Abcdefg", QStringLiteral("New Password Confirmation failed.")},
                        Case{"abcde", "abcde", kShort}}) {
    SCOPED_TRACE(c.fresh);
    CChangePasswordDlg dialog;
    Control<QLineEdit>(dialog, "1007")->setText(QStringLiteral("Secret1"));
    Control<QLineEdit>(dialog, "1010")->setText(QString::fromLatin1(c.fresh));
    Control<QLineEdit>(dialog, "1012")->setText(QString::fromLatin1(c.confirm));
    Control<CBMButton>(dialog, "1013")->click();
    EXPECT_EQ(ErrorBoxes(), QStringList{c.refusal});
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(dialog.focusWidget(), Control<QLineEdit>(dialog, "1010"));
    EXPECT_TRUE(dialog.GetNewPassword().isEmpty());
  }
  CChangePasswordDlg dialog;
  Control<QLineEdit>(dialog, "1007")->setText(QStringLiteral("Secret1"));
  Control<QLineEdit>(dialog, "1010")->setText(QStringLiteral("abcdef"));
  Control<QLineEdit>(dialog, "1012")->setText(QStringLiteral("abcdef"));
  Control<CBMButton>(dialog, "1013")->click();
  EXPECT_TRUE(ErrorBoxes().isEmpty());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.GetNewPassword(), QStringLiteral("abcdef"));
}

TEST_F(PasswordDialogs, SetRefusesFiveCharactersAndTakesSix) {
  CSetAdministrativePasswordDlg dialog;
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Set Administrative Password"));
  auto* edit = Control<QLineEdit>(dialog, "1055");
  edit->setText(QStringLiteral("abcde"));
  Control<CBMButton>(dialog, "1")->click();
  EXPECT_EQ(ErrorBoxes(), QStringList{kShort});
  EXPECT_EQ(dialog.result(), 0);
  edit->setText(QStringLiteral("abcdef"));
  Control<CBMButton>(dialog, "1")->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.GetPassword(), QStringLiteral("abcdef"));
}

// As a user meets it: Enter presses OK, and after the refusal a click brings the focus back to
// the password box.
TEST_F(PasswordDialogs, SetTakesEnterAndAClickBackIntoThePasswordBox) {
  CSetAdministrativePasswordDlg dialog;
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  EXPECT_EQ(testsupport::Describe(testsupport::ControlsNotOnTop(dialog)), "");
  auto* edit = Control<QLineEdit>(dialog, "1055");
  testsupport::ClickAsUser(*edit);
  ASSERT_EQ(dialog.focusWidget(), edit);
  QTest::keyClicks(edit, QStringLiteral("abcde"));
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(ErrorBoxes(), QStringList{kShort});
  // The refusal's box took the focus away while it was up.
  Control<CBMButton>(dialog, "2")->setFocus();
  testsupport::ClickAsUser(*edit);
  ASSERT_EQ(dialog.focusWidget(), edit);
  QTest::keyClicks(edit, QStringLiteral("f"));
  QTest::keyClick(edit, Qt::Key_Enter);
  EXPECT_TRUE(ErrorBoxes().isEmpty());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.GetPassword(), QStringLiteral("abcdef"));
}

TEST_F(PasswordDialogs, AnAcceptedChangeIsStoredAndTold) {
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<CChangePasswordDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    Control<QLineEdit>(*dialog, "1007")->setText(QStringLiteral("Secret1"));
    Control<QLineEdit>(*dialog, "1010")->setText(QStringLiteral("NewOne7"));
    Control<QLineEdit>(*dialog, "1012")->setText(QStringLiteral("NewOne7"));
    Control<CBMButton>(*dialog, "1013")->click();
  });
  ChangeAdministratorPassword(nullptr);
  const auto& shown = MessageBoxRecorder::Global().shown();
  ASSERT_EQ(shown.size(), 1);
  EXPECT_EQ(shown[0].text, QStringLiteral("Administrator's Password Change Successfully."));
  EXPECT_EQ(shown[0].caption, QStringLiteral("Tarnwick Plus Lite"));
  QString stored;
  EXPECT_EQ(GetRegistryHandler()->ReadAdminPassword(&stored), 1);
  EXPECT_EQ(stored, QStringLiteral("NewOne7"));
}
