#include "admin/forms/GoToFormListDialog.h"
#include "admin/foundation/FormStatements.h"
#include "admin/foundation/ProfileStatements.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/ColoredListCtrl.h"
#include "admin/shell/HelpBalloon.h"
#include "platform/os/MachineRoot.h"
#include "tests/admin/forms/FormDialogTest.h"
#include "tests/admin/foundation/SettingsDatabaseFixture.h"

#include <QComboBox>
#include <QTest>

using formtests::Control;

namespace {

constexpr int32_t kReadableProfile = 7;
constexpr int32_t kBrokenProfile = 8;

QStringList Items(const QComboBox& list) {
  QStringList items;
  for (int index = 0; index < list.count(); ++index) items.append(list.itemText(index));
  return items;
}

// Forms on two profiles: one reads the settings database itself (its forms' ids and titles),
// the other names a file that does not exist.
class GoToFormListDialogTest : public SettingsDatabaseTest {
 protected:
  void SetUp() override {
    SettingsDatabaseTest::SetUp();
    SaveProfile(kReadableProfile, QStringLiteral("Readable"), QStringLiteral("UserProfileDB.mdb"));
    SaveProfile(kBrokenProfile, QStringLiteral("Broken"), QStringLiteral("missing.mdb"));
    ASSERT_EQ(SaveFormInfo(m_settings, 1, kReadableProfile, QStringLiteral("Orders"), QString()), 1);
    ASSERT_EQ(SaveFormInfo(m_settings, 2, kReadableProfile, QStringLiteral("Order Lines"), QString()), 1);
    ASSERT_EQ(SaveFormInfo(m_settings, 3, kBrokenProfile, QStringLiteral("Lost"), QString()), 1);
    SetHelpBalloonOpener([this](int topic, QPoint) { m_balloons.append(topic); });
  }
  void TearDown() override {
    SetHelpBalloonOpener({});
    SettingsDatabaseTest::TearDown();
  }

  void SaveProfile(int32_t id, const QString& name, const QString& file) {
    ProfileRecord profile;
    profile.ProfileID = id;
    profile.DBInfo = name;
    profile.DBType = QStringLiteral("1");
    profile.Path = platform::MachineRoot() + QStringLiteral("/Tarnwick Plus/Desktop Files/DB/");
    profile.tempPath = profile.Path;
    profile.DB_DSN = file;
    profile.Query = QStringLiteral("SELECT FormID, FormTitle FROM FormInfo");
    ASSERT_EQ(SaveProfileInfo(m_settings, profile), 1);
  }

  std::unique_ptr<CGoToFormListDialog> Open(const QString& editedTitle) {
    auto dialog = std::make_unique<CGoToFormListDialog>(
        m_settings, std::vector<GoToFormInfo>{{QStringLiteral("Name2"), QStringLiteral("Orders"), QStringLiteral("FormID")}},
        QStringList{QStringLiteral("Name2"), QStringLiteral("Name"), QStringLiteral("City")}, editedTitle);
    dialog->show();
    return dialog;
  }

  static testsupport::MessageBoxRecorder& Boxes() { return testsupport::MessageBoxRecorder::Global(); }

  QList<int> m_balloons;
};

TEST_F(GoToFormListDialogTest, AddOffersEveryOtherFormAndItsProfilesColumns) {
  auto dialog = Open(QStringLiteral("Order Lines"));
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Go To Form"));
  auto* list = Control<CColoredListCtrl>(*dialog, "1052");
  EXPECT_EQ(list->horizontalHeaderItem(1)->text(), QStringLiteral("Desitnation Form"));
  ASSERT_EQ(list->GetItemCount(), 1);
  EXPECT_EQ(dialog->GetMode(), CGoToFormListDialog::kListMode);
  EXPECT_FALSE(Control<QComboBox>(*dialog, "1267")->isVisible());
  Control<CBMButton>(*dialog, "1015")->click();

  Control<CBMButton>(*dialog, "1074")->click();
  EXPECT_EQ(dialog->GetMode(), CGoToFormListDialog::kAddMode);
  EXPECT_FALSE(list->isVisible());
  EXPECT_FALSE(Control<CBMButton>(*dialog, "1192")->isVisible());
  auto* forms = Control<QComboBox>(*dialog, "1267");
  auto* sources = Control<QComboBox>(*dialog, "1282");
  auto* destinations = Control<QComboBox>(*dialog, "1284");
  EXPECT_TRUE(forms->isVisible());
  EXPECT_EQ(Items(*forms), (QStringList{QStringLiteral("Orders"), QStringLiteral("Lost")}));
  EXPECT_EQ(sources->currentText(), QStringLiteral("Name2"));
  EXPECT_EQ(Items(*destinations), (QStringList{QStringLiteral("FormID"), QStringLiteral("FormTitle")}));
  Control<CBMButton>(*dialog, "1015")->click();
  EXPECT_EQ(m_balloons, (QList<int>{34, 35}));

  // The form whose profile cannot be opened: the message, and the fields stay as they were.
  QTest::keyClick(forms, Qt::Key_Down);
  ASSERT_EQ(forms->currentText(), QStringLiteral("Lost"));
  ASSERT_EQ(Boxes().shown().size(), 1);
  EXPECT_EQ(Boxes().shown()[0].text, QStringLiteral("Problem to Get Profile Details."));
  EXPECT_EQ(Boxes().shown()[0].icon(), platform::MB_ICONINFORMATION);
  EXPECT_EQ(Items(*destinations), (QStringList{QStringLiteral("FormID"), QStringLiteral("FormTitle")}));
  const auto entries = testsupport::ReadLogEntries(testsupport::CurrentMachineRoot() + QStringLiteral("/DesktopLog.log"));
  EXPECT_FALSE(
      testsupport::EntriesContaining(entries, QStringLiteral("<GoToForm> <SetViewMode> Problem to Get Profile Details."))
          .isEmpty());

  sources->setCurrentIndex(2);
  destinations->setCurrentIndex(1);
  Control<CBMButton>(*dialog, "1")->click();
  EXPECT_EQ(dialog->GetMode(), CGoToFormListDialog::kListMode);
  ASSERT_EQ(list->GetItemCount(), 2);
  EXPECT_EQ(list->GetItemText(1, 0), QStringLiteral("City"));
  EXPECT_EQ(list->GetItemText(1, 1), QStringLiteral("Lost"));
  EXPECT_EQ(list->GetItemText(1, 2), QStringLiteral("FormTitle"));
  Control<CBMButton>(*dialog, "1")->click();
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  ASSERT_EQ(dialog->GetMappings().size(), 2u);
  EXPECT_EQ(dialog->GetMappings()[1], (GoToFormInfo{QStringLiteral("City"), QStringLiteral("Lost"), QStringLiteral("FormTitle")}));
}

TEST_F(GoToFormListDialogTest, ANewFormIsOfferedEveryStoredForm) {
  auto dialog = Open(QString());
  Control<CBMButton>(*dialog, "1074")->click();
  EXPECT_EQ(Items(*Control<QComboBox>(*dialog, "1267")),
            (QStringList{QStringLiteral("Orders"), QStringLiteral("Order Lines"), QStringLiteral("Lost")}));
}

struct EditCheckCase {
  const char* what;
  int source;
  int form;
  int destination;
  const char* message;
};

// Modify selects the row's texts (the equal item before one that begins with it) and checks
// them as Add does, in the same order.
TEST_F(GoToFormListDialogTest, AddAndModifyRefuseEmptyTextsInOrder) {
  const EditCheckCase cases[] = {
      {"no source", -1, -1, -1, "Source Fiels should not be empty, Please Select at least one Source Field."},
      {"no form", 0, -1, -1, "Destination Form should not be empty, Please Select at least one Destination Form."},
      {"no field", 0, 0, -1,
       "Destination Form Field should not be empty, Please Select at least one Destination Form Field."},
  };
  for (const char* button : {"1074", "1192"}) {
    for (const EditCheckCase& c : cases) {
      auto dialog = Open(QString());
      auto* list = Control<CColoredListCtrl>(*dialog, "1052");
      list->SetSelectionMark(0);
      Control<CBMButton>(*dialog, button)->click();
      if (QByteArray(button) == "1192") {
        EXPECT_EQ(Control<QComboBox>(*dialog, "1282")->currentText(), QStringLiteral("Name2"));
        EXPECT_EQ(Control<QComboBox>(*dialog, "1267")->currentText(), QStringLiteral("Orders"));
        EXPECT_EQ(Control<QComboBox>(*dialog, "1284")->currentText(), QStringLiteral("FormID"));
      }
      Control<QComboBox>(*dialog, "1282")->setCurrentIndex(c.source);
      Control<QComboBox>(*dialog, "1267")->setCurrentIndex(c.form);
      Control<QComboBox>(*dialog, "1284")->setCurrentIndex(c.destination);
      Boxes().Clear();
      Control<CBMButton>(*dialog, "1")->click();
      ASSERT_EQ(Boxes().shown().size(), 1) << button << " " << c.what;
      EXPECT_EQ(Boxes().shown()[0].text, QString::fromUtf8(c.message)) << button << " " << c.what;
      EXPECT_EQ(Boxes().shown()[0].icon(), platform::MB_ICONINFORMATION);
      EXPECT_NE(dialog->GetMode(), CGoToFormListDialog::kListMode) << button << " " << c.what;
      EXPECT_EQ(list->GetItemText(0, 0), QStringLiteral("Name2"));
    }
  }
}

TEST_F(GoToFormListDialogTest, ModifyChangesTheSelectedRowAndCancelChangesNothing) {
  auto dialog = Open(QString());
  auto* list = Control<CColoredListCtrl>(*dialog, "1052");
  Control<CBMButton>(*dialog, "1192")->click();
  EXPECT_EQ(dialog->GetMode(), CGoToFormListDialog::kListMode) << "no row selected";
  list->SetSelectionMark(0);
  Control<CBMButton>(*dialog, "1192")->click();
  Control<QComboBox>(*dialog, "1282")->setCurrentIndex(1);
  Control<CBMButton>(*dialog, "2")->click();
  EXPECT_EQ(dialog->GetMode(), CGoToFormListDialog::kListMode);
  EXPECT_EQ(list->GetItemText(0, 0), QStringLiteral("Name2"));
  list->SetSelectionMark(0);
  Control<CBMButton>(*dialog, "1192")->click();
  Control<QComboBox>(*dialog, "1282")->setCurrentIndex(1);
  Control<CBMButton>(*dialog, "1")->click();
  EXPECT_EQ(list->GetItemText(0, 0), QStringLiteral("Name"));
  Control<CBMButton>(*dialog, "2")->click();
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_EQ(dialog->GetMappings().front().SrcField, QStringLiteral("Name2"));
}

TEST_F(GoToFormListDialogTest, RemoveAsksFirst) {
  auto dialog = Open(QString());
  auto* list = Control<CColoredListCtrl>(*dialog, "1052");
  Control<CBMButton>(*dialog, "1175")->click();
  EXPECT_TRUE(Boxes().shown().isEmpty()) << "no row selected";
  list->SetSelectionMark(0);
  Boxes().ScriptAnswers({platform::IDNO, platform::IDYES});
  Control<CBMButton>(*dialog, "1175")->click();
  ASSERT_EQ(Boxes().shown().size(), 1);
  const platform::MessageBoxRequest question = Boxes().shown()[0];
  EXPECT_EQ(question.text, QStringLiteral("Are you sure to remove selected Go To Form information ?"));
  EXPECT_EQ(question.type, platform::MB_YESNO | platform::MB_DEFBUTTON2);
  EXPECT_EQ(list->GetItemCount(), 1);
  Control<CBMButton>(*dialog, "1175")->click();
  EXPECT_EQ(list->GetItemCount(), 0);
  Control<CBMButton>(*dialog, "1")->click();
  EXPECT_TRUE(dialog->GetMappings().empty());
}

}  // namespace
