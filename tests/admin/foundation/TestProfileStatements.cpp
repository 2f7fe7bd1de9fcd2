#include "admin/foundation/AdminRegistry.h"
#include "admin/foundation/PasswordStatements.h"
#include "admin/foundation/ProfileQueries.h"
#include "admin/foundation/ProfileStatements.h"
#include "platform/registry/Registry.h"
#include "tests/admin/foundation/SettingsDatabaseFixture.h"

#include <sqlext.h>

#include <functional>

namespace {

const QString kCrafted = QStringLiteral("x' or '1'='1");

// Texts a value must survive exactly: quotes, the crafted condition, a line break, 10,000 characters.
QStringList AwkwardTexts() {
  return {QStringLiteral("user01"),
          QStringLiteral("O'Brien"),
          QStringLiteral("a''b'"),
          kCrafted,
          QStringLiteral("line one\nline 'two'"),
          QString(9990, u'q') + QStringLiteral("'%1 %s'end")};
}

ProfileRecord SampleProfile(int32_t id, const QString& name) {
  ProfileRecord record;
  record.ProfileID = id;
  record.DBInfo = name;
  record.DBType = QStringLiteral("1'");
  record.DB_DSN = QStringLiteral("Orders's.mdb");
  record.UserName = QStringLiteral("ad'min");
  record.Password = QStringLiteral("p'w");
  record.Query = QStringLiteral("SELECT * FROM Orders WHERE Name = 'Smith'\n") + QString(10000, u'x');
  record.Path = QStringLiteral("/data/O'Brien/");
  record.tempPath = QStringLiteral("/tmp/O'Brien/");
  record.UserList = QStringLiteral("O'Brien,") + kCrafted;
  record.SyncDestination = QStringLiteral("Dest'1");
  record.ProfileType = 3;
  record.IsPrimaryKeySelected = 1;
  record.SortColumnsInfo = QStringLiteral("<Sort>'a'</Sort>");
  record.FiltersInfo = QStringLiteral("<Filter>b = 'c'</Filter>");
  return record;
}

class ProfileStatementsTest : public SettingsDatabaseTest {
 protected:
  void Assign(const QString& user, int32_t profileId, const QString& flag) {
    ASSERT_EQ(SaveUserProfileStatus(m_settings, {user, profileId, flag}), 1);
  }
  void StoreProfile(int32_t id, const QString& name) {
    ASSERT_EQ(SaveProfileInfo(m_settings, SampleProfile(id, name)), 1);
  }
};

}  // namespace

TEST_F(ProfileStatementsTest, ProfileIsStoredColumnByColumnAndFoundByItsName) {
  const ProfileRecord record = SampleProfile(7, QStringLiteral("Bob's \"best\" orders"));
  const ProfileRecord before = record;
  ASSERT_EQ(SaveProfileInfo(m_settings, record), 1);
  EXPECT_EQ(record.DBInfo, before.DBInfo);
  const QList<QStringList> rows = Rows(QStringLiteral("SELECT * FROM ProfileInfo"));
  ASSERT_EQ(rows.size(), 1);
  const QStringList expected = {QStringLiteral("7"), record.DBInfo,       record.DBType,          record.DB_DSN,
                                record.UserName,     record.Password,     record.Query,           record.Path,
                                record.UserList,     QString(),           record.SyncDestination, record.tempPath,
                                QStringLiteral("3"), QStringLiteral("1"), record.SortColumnsInfo, record.FiltersInfo};
  EXPECT_EQ(rows.first(), expected);

  EXPECT_EQ(FindProfileByName(m_settings, record.DBInfo), 1);
  EXPECT_EQ(GetProfileIDByName(m_settings, record.DBInfo), 7);
  EXPECT_EQ(GetProfileName(m_settings, 7), record.DBInfo);
  EXPECT_EQ(FindProfileByName(m_settings, kCrafted), 0);
  EXPECT_EQ(GetProfileIDByName(m_settings, QStringLiteral("Bob's")), 0);
  EXPECT_EQ(GetProfileName(m_settings, 8), QString());
  EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(ProfileStatementsTest, UserIdentifiersAreStoredAndAnsweredExactly) {
  StoreProfile(1, QStringLiteral("one"));
  const QStringList users = AwkwardTexts();
  for (const QString& user : users) {
    if (user != kCrafted) Assign(user, 1, QStringLiteral("A"));
  }
  // Before its own row exists, the crafted identifier matches nothing, although rows exist.
  EXPECT_EQ(UserHasProfiles(m_settings, kCrafted), 0);
  EXPECT_EQ(IsProfileAssignedToUser(m_settings, kCrafted, 1), 0);
  Assign(kCrafted, 1, QStringLiteral("A"));

  QStringList stored;
  for (const QStringList& row : Rows(QStringLiteral("SELECT * FROM UserProfileStatus"))) {
    stored.append(row[0]);
    EXPECT_EQ(row[1], QStringLiteral("1"));
  }
  QStringList expected = users;
  expected.removeAll(kCrafted);
  expected.append(kCrafted);
  EXPECT_EQ(stored, expected);
  for (const QString& user : users) {
    EXPECT_EQ(UserHasProfiles(m_settings, user), 1) << qPrintable(user.left(40));
    EXPECT_EQ(IsProfileAssignedToUser(m_settings, user, 1), 1) << qPrintable(user.left(40));
    EXPECT_EQ(IsProfileAssignedToUser(m_settings, user, 2), 0) << qPrintable(user.left(40));
  }
  EXPECT_EQ(CountProfileAssignments(m_settings, 1), users.size());
}

// Rows of one profile; a row is live unless its flag is exactly "D".
TEST_F(ProfileStatementsTest, LiveRuleOfStatusRows) {
  struct Case {
    int32_t profile;
    QStringList flags;
    int assigned;
    int count;
    QString firstLive;
  };
  const Case cases[] = {
      {1, {QStringLiteral("D"), QStringLiteral("A")}, 1, 1, QStringLiteral("A")},
      {2, {QString()}, 1, 1, QString()},
      {3, {QStringLiteral("D")}, 0, 0, QStringLiteral("unchanged")},
      {4, {QStringLiteral("d"), QStringLiteral("D")}, 1, 1, QStringLiteral("d")},
      {5, {}, 0, 0, QStringLiteral("unchanged")},
  };
  for (const Case& c : cases) {
    for (const QString& flag : c.flags) Assign(QStringLiteral("user%1").arg(c.profile), c.profile, flag);
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.profile);
    EXPECT_EQ(IsProfileAssigned(m_settings, c.profile), c.assigned);
    EXPECT_EQ(CountProfileAssignments(m_settings, c.profile), c.count);
    EXPECT_EQ(UserHasProfiles(m_settings, QStringLiteral("user%1").arg(c.profile)), c.assigned);
    QString flag = QStringLiteral("unchanged");
    EXPECT_EQ(GetProfileStatusFlag(&flag, m_settings, c.profile), c.assigned);
    EXPECT_EQ(flag, c.firstLive);
  }
  // Two live rows of one user for one profile are no single assignment.
  Assign(QStringLiteral("twice"), 6, QStringLiteral("A"));
  Assign(QStringLiteral("twice"), 6, QStringLiteral("A"));
  EXPECT_EQ(IsProfileAssignedToUser(m_settings, QStringLiteral("twice"), 6), 0);
  EXPECT_EQ(IsProfileAssignedToUser(m_settings, QStringLiteral("user1"), 1), 1);
  EXPECT_EQ(IsProfileAssignedToUser(m_settings, QStringLiteral("user3"), 3), 0);
}

TEST_F(ProfileStatementsTest, AnyProfileAssignedCountsLiveRowsOfStoredProfiles) {
  Assign(QStringLiteral("u1"), 1, QStringLiteral("A"));
  EXPECT_EQ(AnyProfileAssigned(m_settings), 0);  // no such profile
  StoreProfile(2, QStringLiteral("two"));
  Assign(QStringLiteral("u1"), 2, QStringLiteral("D"));
  EXPECT_EQ(AnyProfileAssigned(m_settings), 0);
  StoreProfile(1, QStringLiteral("one"));
  EXPECT_EQ(AnyProfileAssigned(m_settings), 1);
}

TEST_F(ProfileStatementsTest, ProfilesOnlyOfUserAreThoseLeftWithoutUsers) {
  const QString user = QStringLiteral("O'Brien");
  for (int32_t id = 1; id <= 5; ++id) StoreProfile(id, QStringLiteral("p%1").arg(id));
  Assign(user, 1, QStringLiteral("A"));  // only this user
  Assign(user, 2, QStringLiteral("A"));  // shared
  Assign(QStringLiteral("u2"), 2, QStringLiteral("A"));
  Assign(user, 3, QStringLiteral("A"));  // the other user's row is deleted
  Assign(QStringLiteral("u2"), 3, QStringLiteral("D"));
  Assign(QStringLiteral("u2"), 4, QStringLiteral("A"));  // another user's only
  Assign(user, 5, QStringLiteral("D"));
  QList<int32_t> profiles = {99};
  EXPECT_EQ(GetProfilesOnlyOfUser(user, &profiles, m_settings), 1);
  EXPECT_EQ(profiles, (QList<int32_t>{99, 1, 3}));
  QList<int32_t> none;
  EXPECT_EQ(GetProfilesOnlyOfUser(kCrafted, &none, m_settings), 0);
  EXPECT_TRUE(none.isEmpty());
}

TEST_F(ProfileStatementsTest, DevicePasswordsAreStoredUpdatedAndReadExactly) {
  for (const QString& text : AwkwardTexts()) {
    SCOPED_TRACE(qPrintable(text.left(40)));
    const PasswordStatusRecord record{text, QStringLiteral("pw'") + text, QStringLiteral("A'")};
    ASSERT_EQ(SaveUserPasswordStatus(m_settings, record), 1);
    EXPECT_EQ(record.UserID, text);  // the caller's record keeps its single quotes
    PasswordStatusRecord read{text, QString(), QString()};
    ASSERT_EQ(GetUserPasswordStatus(m_settings, &read), 1);
    EXPECT_EQ(read.Password, record.Password);
    EXPECT_EQ(read.StatusFlag, record.StatusFlag);
    ASSERT_EQ(UpdateUserPasswordStatus(m_settings, {text, QStringLiteral("new'") + text, QStringLiteral("U")}), 1);
    ASSERT_EQ(GetUserPasswordStatus(m_settings, &read), 1);
    EXPECT_EQ(read.Password, QStringLiteral("new'") + text);
    EXPECT_EQ(read.StatusFlag, QStringLiteral("U"));
  }
  EXPECT_EQ(Rows(QStringLiteral("SELECT * FROM UserPasswordStatus")).size(), AwkwardTexts().size());
  PasswordStatusRecord missing{QStringLiteral("nobody"), QStringLiteral("kept"), QStringLiteral("K")};
  EXPECT_EQ(GetUserPasswordStatus(m_settings, &missing), 0);
  EXPECT_EQ(missing.Password, QStringLiteral("kept"));
  EXPECT_EQ(UpdateUserPasswordStatus(m_settings, missing), 1);  // no row to change is done
  EXPECT_TRUE(Shown().isEmpty());
}

// Each writer that fails shows its message (after its log line, where it has one) and stores nothing.
TEST_F(ProfileStatementsTest, FailedWritesShowTheirMessages) {
  struct Case {
    const char* table;
    const char* action;
    std::function<int(admin::CDatabseConnection&)> write;
    QString message;
    int logCode;
    QString logLine;
  };
  const PasswordStatusRecord password{QStringLiteral("O'Brien"), QStringLiteral("pw"), QStringLiteral("A")};
  const Case cases[] = {
      {"ProfileInfo", "INSERT",
       [](admin::CDatabseConnection& c) { return SaveProfileInfo(c, SampleProfile(1, QStringLiteral("p"))); },
       QStringLiteral("Could not save Database ProfileInfo."), 0, QString()},
      {"UserProfileStatus", "INSERT",
       [](admin::CDatabseConnection& c) {
         return SaveUserProfileStatus(c, {QStringLiteral("u"), 1, QStringLiteral("A")});
       },
       QStringLiteral("Could not save UserProfileStatus."), 0, QString()},
      {"UserPasswordStatus", "INSERT", [&](admin::CDatabseConnection& c) { return SaveUserPasswordStatus(c, password); },
       QStringLiteral("Could not save UserPasswordStatus."), 73,
       QStringLiteral("Error to save UserPasswordStatus for User O'Brien to Status 'A'.")},
      {"UserPasswordStatus", "UPDATE", [&](admin::CDatabseConnection& c) { return UpdateUserPasswordStatus(c, password); },
       QStringLiteral("Could not Update UserPasswordStatus."), 72,
       QStringLiteral("Error to Update UserPasswordStatus for User O'Brien to Status 'A'.")},
  };
  Execute(
      QStringLiteral("Insert into UserPasswordStatus (UserID, Password, StatusFlag) values('O''Brien', 'old', 'A')"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message.toStdString());
    Refuse(QString::fromLatin1(c.action), QString::fromLatin1(c.table));
    testsupport::MessageBoxRecorder::Global().Clear();
    EXPECT_EQ(c.write(m_settings), 0);
    ASSERT_EQ(Shown().size(), 1);
    EXPECT_EQ(Shown().first().text, c.message);
    EXPECT_EQ(Shown().first().caption, QStringLiteral("Tarnwick Plus Lite"));
    EXPECT_EQ(Shown().first().icon(), platform::MB_ICONERROR);
    const auto lines = testsupport::EntriesContaining(LogEntries(), QStringLiteral("UserPasswordStatus for User"));
    if (c.logCode != 0) {
      ASSERT_FALSE(lines.isEmpty());
      EXPECT_EQ(lines.last().code, c.logCode);
      EXPECT_EQ(lines.last().text, c.logLine);
    }
  }
  EXPECT_TRUE(Rows(QStringLiteral("SELECT * FROM ProfileInfo")).isEmpty());
  EXPECT_TRUE(Rows(QStringLiteral("SELECT * FROM UserProfileStatus")).isEmpty());
  EXPECT_EQ(Rows(QStringLiteral("SELECT Password FROM UserPasswordStatus")),
            (QList<QStringList>{{QStringLiteral("old")}}));
}

// A caller saves a profile and its status rows in one transaction of its own.
TEST_F(ProfileStatementsTest, WritersLeaveTheTransactionToTheCaller) {
  ASSERT_EQ(SQLSetConnectAttrW(m_settings.GetConnectionHandle(), SQL_ATTR_AUTOCOMMIT,
                               reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(SQL_AUTOCOMMIT_OFF)), SQL_IS_UINTEGER),
            SQL_SUCCESS);
  StoreProfile(1, QStringLiteral("one"));
  Assign(QStringLiteral("u1"), 1, QStringLiteral("A"));
  ASSERT_EQ(SQLEndTran(SQL_HANDLE_DBC, m_settings.GetConnectionHandle(), SQL_ROLLBACK), SQL_SUCCESS);
  EXPECT_EQ(FindProfileByName(m_settings, QStringLiteral("one")), 0);
  EXPECT_EQ(IsProfileAssigned(m_settings, 1), 0);
}

TEST_F(ProfileStatementsTest, DeleteProfileMarksItsStatusRowsBeforeDeleting) {
  struct Case {
    const char* name;
    bool statusRows;
    QString refusedAction;
    QString refusedTable;
    int result;
    bool profileKept;
  };
  const Case cases[] = {
      {"with status rows", true, QString(), QString(), 1, false},
      {"without status rows", false, QString(), QString(), 1, false},
      {"status update refused", true, QStringLiteral("UPDATE"), QStringLiteral("UserProfileStatus"), 0, true},
      {"profile delete refused", true, QStringLiteral("DELETE"), QStringLiteral("ProfileInfo"), 1, true},
  };
  int32_t id = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ++id;
    StoreProfile(id, QStringLiteral("p%1").arg(id));
    StoreProfile(100 + id, QStringLiteral("other%1").arg(id));
    ASSERT_TRUE(InitNextRecIndex(id));
    if (c.statusRows) {
      Assign(QStringLiteral("u1"), id, QStringLiteral("A"));
      Assign(QStringLiteral("u2"), id, QStringLiteral("A"));
    }
    Assign(QStringLiteral("u1"), 100 + id, QStringLiteral("A"));
    if (!c.refusedAction.isEmpty()) Refuse(c.refusedAction, c.refusedTable);

    EXPECT_EQ(DeleteProfile(m_settings, id), c.result);
    const QString flag = c.result == 1 ? QStringLiteral("D") : QStringLiteral("A");
    const auto rows = Rows(QStringLiteral("SELECT StatusFlag FROM UserProfileStatus WHERE ProfileID = %1").arg(id));
    EXPECT_EQ(rows.size(), c.statusRows ? 2 : 0);
    for (const QStringList& row : rows) EXPECT_EQ(row.first(), flag);
    EXPECT_EQ(FindProfileByName(m_settings, QStringLiteral("p%1").arg(id)), c.profileKept ? 1 : 0);
    EXPECT_EQ(HasRecIndex(id), c.result == 0);
    EXPECT_EQ(FindProfileByName(m_settings, QStringLiteral("other%1").arg(id)), 1);
    EXPECT_EQ(IsProfileAssigned(m_settings, 100 + id), 1);
    if (!c.refusedAction.isEmpty()) Allow(c.refusedAction, c.refusedTable);
  }
  const auto log = LogEntries();
  const auto update = testsupport::EntriesContaining(log, QStringLiteral("Error while updating UserProfileStatus"));
  ASSERT_EQ(update.size(), 1);
  EXPECT_EQ(update.first().code, 89);
  EXPECT_EQ(update.first().text,
            QStringLiteral("Error while updating UserProfileStatus for ProfileId 3 to Delete Status."));
  const auto deletion = testsupport::EntriesContaining(log, QStringLiteral("Error to Delete ProfileInfo"));
  ASSERT_EQ(deletion.size(), 1);
  EXPECT_EQ(deletion.first().code, -89);
  EXPECT_EQ(deletion.first().text, QStringLiteral("Error to Delete ProfileInfo for ProfileId 4."));
  EXPECT_TRUE(Shown().isEmpty());
}
