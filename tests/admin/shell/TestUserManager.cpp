// The User Manager: adding users (checks, sync option, device type, a removed ID coming back),
// the list, the options of a user, and removing a user with the profiles only that user has.
#include "admin/foundation/AdminRegistry.h"
#include "admin/foundation/FormStatements.h"
#include "admin/foundation/ProfileStatements.h"
#include "admin/foundation/UserInfoTable.h"
#include "admin/shell/NewUserDlg.h"
#include "admin/shell/UserManagerDlg.h"
#include "platform/registry/Registry.h"
#include "shared/RegistryRecords.h"
#include "tests/admin/shell/DeviceUserTest.h"

#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <memory>

namespace {

using namespace deviceusers;

using platform::IDNO;
using platform::IDYES;

struct NewUser {
  QString deviceType = QStringLiteral("BlackBerry");
  QString id;
  QString confirmation;
  QString first = QStringLiteral("First");
  QString last = QStringLiteral("Last");
  bool interval = false;
  int days = 0;
  int hours = 0;
  int minutes = 0;
};

void Fill(QDialog& dialog, const NewUser& user) {
  auto* type = dialog.findChild<QComboBox*>(QStringLiteral("1152"));
  type->setCurrentIndex(type->findText(user.deviceType));
  Type(dialog, "1036", user.id);
  Type(dialog, "1038", user.confirmation);
  Type(dialog, "1040", user.first);
  Type(dialog, "1046", user.last);
  Type(dialog, "1042", QStringLiteral("Sales"));
  Type(dialog, "1044", QStringLiteral("Driver"));
  if (user.interval) {
    dialog.findChild<QRadioButton*>(QStringLiteral("1123"))->click();
    dialog.findChild<QSpinBox*>(QStringLiteral("1135"))->setValue(user.days);
    dialog.findChild<QSpinBox*>(QStringLiteral("1138"))->setValue(user.hours);
    dialog.findChild<QSpinBox*>(QStringLiteral("1141"))->setValue(user.minutes);
  }
  Button(dialog, "1047")->click();
}

ProfileRecord Profile(int32_t id, const QString& dbType, const QString& path, const QString& file) {
  ProfileRecord record;
  record.ProfileID = id;
  record.DBInfo = QStringLiteral("Profile %1").arg(id);
  record.DBType = dbType;
  record.DB_DSN = file;
  record.Path = path;
  record.Query = QStringLiteral("SELECT * FROM T%1").arg(id);
  return record;
}

class UserManagerTest : public DeviceUserTest {
 protected:
  std::unique_ptr<CUserManagerDlg> Open() {
    auto manager = std::make_unique<CUserManagerDlg>(m_settings);
    manager->show();
    return manager;
  }
  static CColoredListCtrl* UserList(const QWidget& manager) { return Control<CColoredListCtrl>(manager, "1018"); }
  static CColoredListCtrl* ProfileList(const QWidget& manager) { return Control<CColoredListCtrl>(manager, "1024"); }

  void StoreProfile(int32_t id, const QStringList& users, const QString& dbType = QStringLiteral("1")) {
    ASSERT_EQ(SaveProfileInfo(m_settings, Profile(id, dbType, QStringLiteral("/data/"), QStringLiteral("f.mdb"))), 1);
    ASSERT_TRUE(InitNextRecIndex(id));
    for (const QString& user : users) ASSERT_EQ(SaveUserProfileStatus(m_settings, {user, id, QStringLiteral("A")}), 1);
  }
  void StoreForm(int32_t formId, int32_t profileId, const QString& title, const QString& tab) {
    ASSERT_EQ(SaveFormInfo(m_settings, formId, profileId, title, QStringLiteral("<NumOfGrp>0</NumOfGrp>")), 1);
    ASSERT_EQ(SaveFormDetails(m_settings, formId, 0, QStringLiteral("Tab"), tab), 1);
  }
  QStringList ProfileFlags(int32_t id) {
    QStringList flags;
    for (const QStringList& row :
         Rows(QStringLiteral("SELECT StatusFlag FROM UserProfileStatus WHERE ProfileID = %1").arg(id)))
      flags.append(row.first());
    return flags;
  }
  qsizetype Count(const QString& table, const QString& condition) {
    return Rows(QStringLiteral("SELECT * FROM %1 WHERE %2").arg(table, condition)).size();
  }
  QString FlagOf(const QString& pin) {
    const auto rows = Rows(QStringLiteral("SELECT StatusFlag FROM UserInfo WHERE PIN = %1").arg(Quoted(pin)));
    return rows.size() == 1 ? rows.first().first() : QStringLiteral("rows: %1").arg(rows.size());
  }
};

}  // namespace

TEST_F(UserManagerTest, NewUserInputIsCheckedAndStored) {
  StoreUser(QStringLiteral("ABC123"), QStringLiteral("Stored User"), QStringLiteral("A"));
  struct Case {
    const char* name;
    NewUser input;
    QString box;
    QStringList stored;  // the new row, empty when nothing is stored
  };
  const Case cases[] = {
      {"empty ID", {.id = QString(), .confirmation = QString()}, QStringLiteral("Please Enter PIN."), {}},
      {"blank ID",
       {.id = QStringLiteral("   "), .confirmation = QStringLiteral("   ")},
       QStringLiteral("Please Enter PIN."),
       {}},
      {"ID stored in other case",
       {.id = QStringLiteral("abc123"), .confirmation = QStringLiteral("abc123")},
       QStringLiteral("PIN is already present."),
       {}},
      {"confirmation differs",
       {.id = QStringLiteral("p1"), .confirmation = QStringLiteral("P1")},
       QStringLiteral("PIN and Confirm PIN are not matching."),
       {}},
      {"no minute",
       {.id = QStringLiteral("p2"), .confirmation = QStringLiteral("p2"), .interval = true},
       QStringLiteral("Sync Interval must greater than equal to 1 Minute."),
       {}},
      {"interval",
       {.id = QStringLiteral("p3"),
        .confirmation = QStringLiteral("p3"),
        .interval = true,
        .days = 1,
        .hours = 2,
        .minutes = 3},
       QString(),
       {QStringLiteral("p3"), QStringLiteral("First Last"), QStringLiteral("Driver"), QStringLiteral("Sales"),
        QStringLiteral("A"), QStringLiteral("1"), QStringLiteral("1563"), QStringLiteral("1")}},
      {"trimmed, menu",
       {.id = QStringLiteral("  p4 "), .confirmation = QStringLiteral(" p4")},
       QString(),
       {QStringLiteral("p4"), QStringLiteral("First Last"), QStringLiteral("Driver"), QStringLiteral("Sales"),
        QStringLiteral("A"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("1")}},
      {"iPhone",
       {.deviceType = QStringLiteral("iPhone"), .id = QStringLiteral("p5"), .confirmation = QStringLiteral("p5")},
       QString(),
       {QStringLiteral("p5"), QStringLiteral("First Last"), QStringLiteral("Driver"), QStringLiteral("Sales"),
        QStringLiteral("A"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("2")}},
      {"Pocket PC, quotes",
       {.deviceType = QStringLiteral("Pocket PC"),
        .id = QStringLiteral("O'Neil's"),
        .confirmation = QStringLiteral("O'Neil's"),
        .first = QStringLiteral("Ann'e"),
        .last = QString()},
       QString(),
       {QStringLiteral("O'Neil's"), QStringLiteral("Ann'e "), QStringLiteral("Driver"), QStringLiteral("Sales"),
        QStringLiteral("A"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("3")}},
  };
  const auto manager = Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const qsizetype before = Users().size();
    ClickAndAnswer(Button(*manager, "1019"), [&c](QDialog& dialog) { Fill(dialog, c.input); });
    EXPECT_EQ(Boxes(), c.box.isEmpty() ? QStringList() : QStringList{c.box});
    const QList<QStringList> users = Users();
    ASSERT_EQ(users.size(), before + (c.stored.isEmpty() ? 0 : 1));
    if (!c.stored.isEmpty()) {
      EXPECT_EQ(users.last(), c.stored);
      EXPECT_TRUE(Column(*UserList(*manager), 0).contains(c.stored.first()));
    }
  }
}

TEST_F(UserManagerTest, DeviceTypesAreSortedAndAnIPhoneSynchronisesFromTheMenu) {
  CNewUserDlg dialog(m_settings);
  auto* type = Control<QComboBox>(dialog, "1152");
  ASSERT_EQ(type->count(), 3);
  EXPECT_EQ(type->itemText(0), QStringLiteral("BlackBerry"));
  EXPECT_EQ(type->itemText(1), QStringLiteral("iPhone"));
  EXPECT_EQ(type->itemText(2), QStringLiteral("Pocket PC"));
  EXPECT_EQ(type->currentText(), QStringLiteral("BlackBerry"));
  auto* menu = Control<QRadioButton>(dialog, "1122");
  auto* interval = Control<QRadioButton>(dialog, "1123");
  auto* days = Control<QSpinBox>(dialog, "1135");
  EXPECT_TRUE(menu->isChecked());
  EXPECT_FALSE(days->isEnabled());
  interval->click();
  EXPECT_TRUE(days->isEnabled());
  EXPECT_EQ(days->maximum(), 30);
  EXPECT_EQ(Control<QSpinBox>(dialog, "1138")->maximum(), 23);
  EXPECT_EQ(Control<QSpinBox>(dialog, "1141")->maximum(), 59);

  type->setCurrentIndex(1);
  EXPECT_TRUE(menu->isChecked());
  EXPECT_FALSE(interval->isEnabled());
  EXPECT_FALSE(days->isEnabled());
  type->setCurrentIndex(2);
  EXPECT_TRUE(interval->isEnabled());
}

TEST_F(UserManagerTest, EveryEditRefusesTheCharacterPastItsField) {
  CNewUserDlg dialog(m_settings);
  const QList<QLineEdit*> edits = dialog.findChildren<QLineEdit*>();
  int typed = 0;
  for (QLineEdit* edit : edits) {
    if (edit->isReadOnly()) continue;  // the day, hour and minute numbers
    ++typed;
    edit->setText(QString(1023, u'x'));
    QTest::keyClick(edit, Qt::Key_Y);
    EXPECT_EQ(edit->text().size(), 1023) << qPrintable(edit->objectName());
  }
  EXPECT_EQ(typed, 6);
}

TEST_F(UserManagerTest, ARemovedUsersIdComesBackAsItsOneRow) {
  StoreUser(QStringLiteral("rev1"), QStringLiteral("Old Name"), QStringLiteral("D"), 1, 60, 3);
  StoreUser(QStringLiteral("gone2"), QStringLiteral("Old Two"), QStringLiteral("DEL"));
  const auto manager = Open();
  EXPECT_TRUE(Column(*UserList(*manager), 0).isEmpty());
  ClickAndAnswer(Button(*manager, "1019"), [](QDialog& dialog) {
    Fill(dialog, {.id = QStringLiteral("REV1"), .confirmation = QStringLiteral("REV1")});
  });
  ClickAndAnswer(Button(*manager, "1019"), [](QDialog& dialog) {
    Fill(dialog, {.id = QStringLiteral("gone2"), .confirmation = QStringLiteral("gone2")});
  });
  EXPECT_TRUE(Boxes().isEmpty());
  EXPECT_EQ(Users(), (QList<QStringList>{{QStringLiteral("REV1"), QStringLiteral("First Last"),
                                          QStringLiteral("Driver"), QStringLiteral("Sales"), QStringLiteral("A"),
                                          QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("1")},
                                         {QStringLiteral("gone2"), QStringLiteral("First Last"),
                                          QStringLiteral("Driver"), QStringLiteral("Sales"), QStringLiteral("A"),
                                          QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("1")}}));
  EXPECT_EQ(Column(*UserList(*manager), 0), (QStringList{QStringLiteral("REV1"), QStringLiteral("gone2")}));
}

TEST_F(UserManagerTest, UsersAreListedInTableOrderWithoutRemovedOnes) {
  {
    const auto empty = Open();
    EXPECT_EQ(UserList(*empty)->GetItemCount(), 0);
    EXPECT_FALSE(Button(*empty, "1020")->isEnabled());
    EXPECT_FALSE(Button(*empty, "1021")->isEnabled());
    EXPECT_FALSE(Control<QGroupBox>(*empty, "1023")->isVisible());
  }
  StoreUser(QStringLiteral("u3"), QStringLiteral("Third"), QStringLiteral("A"));
  StoreUser(QStringLiteral("u1"), QStringLiteral("Removed"), QStringLiteral("D"));
  StoreUser(QStringLiteral("u2"), QStringLiteral("Second"), QStringLiteral("U"));
  StoreUser(QStringLiteral("u4"), QStringLiteral("Deleted"), QStringLiteral("DEL"));
  StoreUser(QStringLiteral("u0"), QStringLiteral("Last"), QStringLiteral("A"));
  const auto manager = Open();
  const CColoredListCtrl& list = *UserList(*manager);
  EXPECT_EQ(Column(list, 0), (QStringList{QStringLiteral("u3"), QStringLiteral("u2"), QStringLiteral("u0")}));
  EXPECT_EQ(Column(list, 1), (QStringList{QStringLiteral("Third"), QStringLiteral("Second"), QStringLiteral("Last")}));
  EXPECT_EQ(list.horizontalHeaderItem(2)->text(), QStringLiteral("Designation"));
  EXPECT_EQ(list.GetItemText(0, 2), QStringLiteral("Designer"));
  EXPECT_EQ(list.GetItemText(0, 3), QStringLiteral("Sales"));
  EXPECT_TRUE(Button(*manager, "1020")->isEnabled());
  EXPECT_TRUE(Button(*manager, "1021")->isEnabled());
  EXPECT_TRUE(Button(*manager, "1020")->text() == QStringLiteral("Set User Optios"));
}

// A text longer than its bound buffer comes back cut, with a warning; the rows after it count.
TEST_F(UserManagerTest, AUserAfterARowFetchedWithAWarningIsListed) {
  StoreUser(QStringLiteral("long"), QString(1500, u'n'), QStringLiteral("A"));
  StoreUser(QStringLiteral("after"), QStringLiteral("After"), QStringLiteral("A"));
  UserInfoTable table(m_settings);
  EXPECT_EQ(table.LoadUserInfo(), 2);
  UserInfoRow row;
  ASSERT_TRUE(table.GetRow(1, &row));
  EXPECT_EQ(row.Name, QString(1023, u'n'));
  const auto manager = Open();
  EXPECT_EQ(Column(*UserList(*manager), 0), (QStringList{QStringLiteral("long"), QStringLiteral("after")}));
}

TEST_F(UserManagerTest, TheSelectedUsersProfilesAreShown) {
  StoreUser(QStringLiteral("u1"), QStringLiteral("One"), QStringLiteral("A"));
  StoreUser(QStringLiteral("u2"), QStringLiteral("Two"), QStringLiteral("A"));
  ASSERT_EQ(SaveProfileInfo(m_settings,
                            Profile(61, QStringLiteral("0"), QStringLiteral("/ignored/"), QStringLiteral("OrdersDSN"))),
            1);
  ASSERT_EQ(SaveProfileInfo(m_settings,
                            Profile(62, QStringLiteral("6"), QStringLiteral("/ignored/"), QStringLiteral("a.accdb"))),
            1);
  ASSERT_EQ(SaveProfileInfo(m_settings, Profile(63, QStringLiteral("2"), QStringLiteral("/data/O'Brien/"),
                                                QStringLiteral("b.xls"))),
            1);
  ASSERT_EQ(SaveProfileInfo(m_settings,
                            Profile(64, QStringLiteral("1"), QStringLiteral("/data/"), QStringLiteral("gone.mdb"))),
            1);
  for (int32_t id : {61, 62, 63})
    ASSERT_EQ(SaveUserProfileStatus(m_settings, {QStringLiteral("u1"), id, QStringLiteral("A")}), 1);
  ASSERT_EQ(SaveUserProfileStatus(m_settings, {QStringLiteral("u1"), 64, QStringLiteral("D")}), 1);
  ASSERT_EQ(SaveUserProfileStatus(m_settings, {QStringLiteral("u2"), 64, QStringLiteral("D")}), 1);

  const auto manager = Open();
  auto* group = Control<QGroupBox>(*manager, "1023");
  const CColoredListCtrl& profiles = *ProfileList(*manager);
  SelectUser(UserList(*manager), QStringLiteral("u1"));
  EXPECT_TRUE(group->isVisible());
  EXPECT_TRUE(profiles.isVisible());
  EXPECT_EQ(Column(profiles, 0),
            (QStringList{QStringLiteral("Profile 61"), QStringLiteral("Profile 62"), QStringLiteral("Profile 63")}));
  EXPECT_EQ(Column(profiles, 1), (QStringList{QStringLiteral("OrdersDSN"), QStringLiteral("a.accdb"),
                                              QStringLiteral("/data/O'Brien/b.xls")}));
  EXPECT_EQ(profiles.GetItemText(2, 2), QStringLiteral("SELECT * FROM T63"));

  SelectUser(UserList(*manager), QStringLiteral("u2"));  // only a removed assignment
  EXPECT_FALSE(group->isVisible());
  EXPECT_FALSE(profiles.isVisible());
  EXPECT_TRUE(Button(*manager, "1020")->isEnabled());
}

TEST_F(UserManagerTest, SetUserOptionsChangesTheSyncOptionOfAnyButAnIPhoneUser) {
  StoreUser(QStringLiteral("bb"), QStringLiteral("Berry"), QStringLiteral("A"), 1, 1563, 1);
  StoreUser(QStringLiteral("ip"), QStringLiteral("Phone"), QStringLiteral("A"), 0, 0, 2);
  const auto manager = Open();
  Button(*manager, "1020")->click();
  EXPECT_EQ(Boxes(), QStringList{QStringLiteral("No User is Selected.")});
  SelectUser(UserList(*manager), QStringLiteral("ip"));
  Button(*manager, "1020")->click();
  EXPECT_EQ(Boxes(), QStringList{QStringLiteral("This option not available for iPhone Users.")});

  SelectUser(UserList(*manager), QStringLiteral("bb"));
  ClickAndAnswer(Button(*manager, "1020"), [](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Set User Options"));
    EXPECT_TRUE(Control<QRadioButton>(dialog, "1123")->isChecked());
    EXPECT_EQ(Control<QSpinBox>(dialog, "1135")->value(), 1);
    EXPECT_EQ(Control<QSpinBox>(dialog, "1138")->value(), 2);
    EXPECT_EQ(Control<QSpinBox>(dialog, "1141")->value(), 3);
    for (const char* id : {"1135", "1138", "1141"}) Control<QSpinBox>(dialog, id)->setValue(0);
    Button(dialog, "1047")->click();
    EXPECT_EQ(Boxes(), QStringList{QStringLiteral("Sync Interval must greater than equal to 1 Minute.")});
    EXPECT_TRUE(dialog.isVisible());
    Control<QSpinBox>(dialog, "1138")->setValue(5);
    Button(dialog, "1047")->click();
  });
  EXPECT_EQ(Users().first(), (QStringList{QStringLiteral("bb"), QStringLiteral("Berry"), QStringLiteral("Designer"),
                                          QStringLiteral("Sales"), QStringLiteral("U"), QStringLiteral("1"),
                                          QStringLiteral("300"), QStringLiteral("1")}));
  ClickAndAnswer(Button(*manager, "1020"), [](QDialog& dialog) {
    Control<QRadioButton>(dialog, "1122")->click();
    EXPECT_FALSE(Control<QSpinBox>(dialog, "1135")->isEnabled());
    Button(dialog, "1047")->click();
  });
  EXPECT_EQ(Users().first().mid(4),
            (QStringList{QStringLiteral("U"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("1")}));
  EXPECT_TRUE(Boxes().isEmpty());
}

TEST_F(UserManagerTest, AnUpdateOfAnUnknownOrRefusedRowShowsItsBoxAndChangesNothing) {
  StoreUser(QStringLiteral("u1"), QStringLiteral("One"), QStringLiteral("A"));
  UserInfoRow row{QStringLiteral("U1"), QStringLiteral("X"), QString(), QString(), QStringLiteral("U"), 0, 0, 1};
  EXPECT_EQ(UserInfoTable(m_settings).UpdateUserInfo(row), 0);
  EXPECT_EQ(Boxes(), QStringList{QStringLiteral("User with Device PIN : U1 is not available.")});
  Refuse(QStringLiteral("UPDATE"), QStringLiteral("UserInfo"));
  Refuse(QStringLiteral("INSERT"), QStringLiteral("UserInfo"));
  row.PIN = QStringLiteral("u1");
  EXPECT_EQ(UserInfoTable(m_settings).UpdateUserInfo(row), 0);
  row.PIN = QStringLiteral("u2");
  EXPECT_EQ(UserInfoTable(m_settings).AddUserInfo(row), 0);
  const QStringList boxes = Boxes();
  ASSERT_EQ(boxes.size(), 2);
  for (const QString& box : boxes) EXPECT_TRUE(box.contains(QStringLiteral("refused"))) << qPrintable(box);
  EXPECT_EQ(FlagOf(QStringLiteral("u1")), QStringLiteral("A"));
  EXPECT_EQ(Users().size(), 1);
  QStringList locations;
  for (const auto& entry : LogEntries()) locations.append(QString::number(entry.code));
  EXPECT_TRUE(locations.contains(QStringLiteral("102")));
  EXPECT_TRUE(locations.contains(QStringLiteral("103")));
}

TEST_F(UserManagerTest, RemovingAUserTakesTheProfilesOnlyThatUserHadWithTheirForms) {
  StoreUser(QStringLiteral("solo"), QStringLiteral("Solo User"), QStringLiteral("A"));
  StoreUser(QStringLiteral("other"), QStringLiteral("Other User"), QStringLiteral("A"));
  StoreProfile(51, {QStringLiteral("solo")});
  StoreProfile(52, {QStringLiteral("solo"), QStringLiteral("other")});
  StoreForm(901, 51, QStringLiteral("Solo Form"), QStringLiteral("<TabInfo></TabInfo>"));
  const auto manager = Open();
  SelectUser(UserList(*manager), QStringLiteral("solo"));

  for (const QList<int>& answers : {QList<int>{IDNO}, QList<int>{IDYES, IDNO}}) {
    testsupport::MessageBoxRecorder::Global().ScriptAnswers(answers);
    Button(*manager, "1021")->click();
    EXPECT_EQ(Shown().size(), answers.size());
    for (const auto& box : Shown()) EXPECT_EQ(box.defaultButton(), platform::MB_DEFBUTTON2);
    Boxes();
    EXPECT_EQ(FlagOf(QStringLiteral("solo")), QStringLiteral("A"));
    EXPECT_EQ(ProfileFlags(51), QStringList{QStringLiteral("A")});
    EXPECT_EQ(Count(QStringLiteral("FormInfo"), QStringLiteral("FormID = 901")), 1);
  }

  SelectUser(UserList(*manager), QStringLiteral("solo"));
  Button(*manager, "1021")->click();
  EXPECT_EQ(Boxes(), (QStringList{QStringLiteral("Are you sure to remove user : Solo User ?"),
                                  QStringLiteral("Removing Solo User User will remove some profiles assigned to only "
                                                 "this user, Are You sure to remove user ?")}));
  EXPECT_EQ(FlagOf(QStringLiteral("solo")), QStringLiteral("D"));
  EXPECT_EQ(ProfileFlags(51), QStringList{QStringLiteral("D")});
  EXPECT_EQ(Count(QStringLiteral("ProfileInfo"), QStringLiteral("ProfileID = 51")), 0);
  EXPECT_FALSE(HasRecIndex(51));
  EXPECT_EQ(Count(QStringLiteral("FormInfo"), QStringLiteral("FormID = 901")), 0);
  EXPECT_EQ(Count(QStringLiteral("FormDetails"), QStringLiteral("FormID = 901")), 0);
  EXPECT_EQ(ProfileFlags(52), (QStringList{QStringLiteral("A"), QStringLiteral("A")}));
  EXPECT_EQ(Count(QStringLiteral("ProfileInfo"), QStringLiteral("ProfileID = 52")), 1);
  EXPECT_TRUE(HasRecIndex(52));
  EXPECT_EQ(Column(*UserList(*manager), 0), QStringList{QStringLiteral("other")});
  QStringList lines;
  for (const auto& entry : LogEntries()) lines.append(entry.text);
  EXPECT_TRUE(lines.contains(QStringLiteral("Profile 51 removed while removing Solo User User.")));
  EXPECT_TRUE(lines.contains(QStringLiteral("User Solo User with PIN solo is Removed.")));
}

TEST_F(UserManagerTest, ALookupSourceOrLinkTargetAmongTheProfilesBlocksTheRemoval) {
  StoreUser(QStringLiteral("solo"), QStringLiteral("Solo User"), QStringLiteral("A"));
  StoreUser(QStringLiteral("other"), QStringLiteral("Other User"), QStringLiteral("A"));
  StoreProfile(51, {QStringLiteral("solo")});
  StoreProfile(53, {QStringLiteral("other")});
  StoreForm(901, 51, QStringLiteral("Solo Form"), QStringLiteral("<TabInfo></TabInfo>"));
  struct Case {
    const char* name;
    QString tab;
    QString box;
  };
  const Case cases[] = {
      {"lookup source", QStringLiteral("<TabInfo><LkProfileID>51</LkProfileID></TabInfo>"),
       QStringLiteral("You can not delete this profile, Profile is used as Lookup Profile in \"Other Form\" Form.")},
      {"Go To Form target", QStringLiteral("<TabInfo><DestForm>Solo Form</DestForm></TabInfo>"),
       QStringLiteral("You can not delete this Profile, Form assigned to this Profile is used in another Form for "
                      "\"Go To Form\" option.")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StoreForm(902, 53, QStringLiteral("Other Form"), c.tab);
    const auto manager = Open();
    SelectUser(UserList(*manager), QStringLiteral("solo"));
    Button(*manager, "1021")->click();
    ASSERT_EQ(Shown().size(), 3);
    EXPECT_EQ(Shown().last().text, c.box);
    EXPECT_EQ(Shown().last().icon(), platform::MB_ICONERROR);
    Boxes();
    EXPECT_EQ(FlagOf(QStringLiteral("solo")), QStringLiteral("A"));
    EXPECT_EQ(ProfileFlags(51), QStringList{QStringLiteral("A")});
    EXPECT_EQ(Count(QStringLiteral("ProfileInfo"), QStringLiteral("ProfileID = 51")), 1);
    EXPECT_EQ(Count(QStringLiteral("FormInfo"), QStringLiteral("FormID = 901")), 1);
    ASSERT_EQ(DeleteForm(m_settings, 902), 1);
  }
}
