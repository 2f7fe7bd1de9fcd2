#include "admin/profiles/ProfileStore.h"

#include "admin/foundation/AdminRegistry.h"
#include "admin/foundation/ProfileStatements.h"
#include "platform/registry/Registry.h"
#include "shared/RegistryHandler.h"
#include "shared/contract/RegistryNames.h"
#include "tests/admin/foundation/SettingsDatabaseFixture.h"

#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QString kCreated =
    u"Profile created successfully. Initially Profile color will be red, Please sync from iPhone//iPad when red "
    "color will change to normal color."_s;
const QString kUpdated =
    u"Profile updated successfully. Initially Profile color will be red, Please sync from iPhone//iPad when red "
    "color will change to normal color."_s;
const QString kNoDevice = u"Device ID of this desktop is not available. Please install Tarnwick Plus Lite again."_s;
const QString kCounterError = u"Error in Database Synchronization profile creation."_s;

ProfileRecord TableProfile(const QString& name) {
  ProfileRecord record;
  record.DBInfo = name;
  record.DBType = u"0"_s;
  record.DB_DSN = u"Orders DSN"_s;
  record.Query = u"Select \"id\", \"name\" from \"public\".\"people\" Where \"name\" = 'O''Brien'"_s;
  record.ProfileType = 0;
  record.IsPrimaryKeySelected = 1;
  record.FiltersInfo = u"1#0#4#name#1#=#10#'O''Brien'#"_s;
  record.SortColumnsInfo = u"0#"_s;
  return record;
}

bool SetRecordIndex(int32_t profileId, DWORD index) {
  platform::RegistryKeyGuard key;
  return platform::RegCreateKeyEx(platform::HKEY_LOCAL_MACHINE, registrynames::kRecordIndexKey,
                                  platform::KEY_ALL_ACCESS, key.out()) == platform::ERROR_SUCCESS &&
         platform::RegSetValueEx(key.get(), QString::number(profileId), platform::RegistryValue::FromDword(index)) ==
             platform::ERROR_SUCCESS;
}

int NextCounter() {
  int counter = 0;
  return GetNextProfileID(&counter) == 1 ? counter : -1;
}

class ProfileStoreTest : public SettingsDatabaseTest {
 protected:
  void SetUp() override {
    SettingsDatabaseTest::SetUp();
    ASSERT_EQ(SetNextProfileID(3), 1);
  }

  bool Create(ProfileRecord* record, ProfileStoreMode mode = ProfileStoreMode::kNew, const QString& user = u"dev-1"_s) {
    return CreateTableProfile(m_settings, {mode, user}, record);
  }

  QList<QStringList> ProfileRow(int32_t id) {
    return Rows(
        u"SELECT ProfileID, DBInfo, Query, UserList, SyncDestination, IsPrimaryKeySelected, FiltersInfo "
        "FROM ProfileInfo WHERE ProfileID = %1"_s.arg(id));
  }
  QList<QStringList> StatusRows(int32_t id) {
    return Rows(u"SELECT UserID, StatusFlag FROM UserProfileStatus WHERE ProfileID = %1 ORDER BY rowid"_s.arg(id));
  }
  QString LastShown() const { return Shown().isEmpty() ? QString() : Shown().last().text; }
};

}  // namespace

TEST_F(ProfileStoreTest, NewProfileRowStatusAndRecordIndex) {
  ProfileRecord record = TableProfile(u"People"_s);
  ASSERT_TRUE(Create(&record));
  EXPECT_EQ(record.ProfileID, 3);
  EXPECT_EQ(NextCounter(), 4);
  EXPECT_EQ(ProfileRow(3), QList<QStringList>({{u"3"_s, u"People"_s, TableProfile({}).Query, u"dev-1,"_s,
                                                u"MainMemory"_s, u"0"_s, TableProfile({}).FiltersInfo}}));
  EXPECT_EQ(StatusRows(3), QList<QStringList>({{u"dev-1"_s, u"A"_s}}));
  EXPECT_EQ(RecordIndex(3), DWORD{1});
  EXPECT_EQ(LastShown(), kCreated);
}

TEST_F(ProfileStoreTest, CounterNeverHandsOutAUsedNumber) {
  // A counter behind the stored profiles, and a status row left by a deleted one beyond them.
  ASSERT_EQ(SetNextProfileID(1), 1);
  Execute(u"INSERT INTO ProfileInfo (ProfileID, DBInfo) VALUES (5, 'Stored')"_s);
  Execute(u"INSERT INTO UserProfileStatus VALUES ('old', 7, 'D')"_s);
  ProfileRecord record = TableProfile(u"People"_s);
  ASSERT_TRUE(Create(&record));
  EXPECT_EQ(record.ProfileID, 8);
  EXPECT_EQ(NextCounter(), 9);
  Execute(u"INSERT INTO ProfileInfo (ProfileID, DBInfo) VALUES (12, 'Copied in')"_s);
  ProfileRecord next = TableProfile(u"Next"_s);
  ASSERT_TRUE(Create(&next));
  EXPECT_EQ(next.ProfileID, 13);
  // A counter that cannot be read stores nothing.
  platform::RegistryKeyGuard key;
  ASSERT_EQ(
      platform::RegOpenKeyEx(platform::HKEY_LOCAL_MACHINE, registrynames::kSettingsKey, platform::KEY_WRITE, key.out()),
      platform::ERROR_SUCCESS);
  ASSERT_EQ(platform::RegDeleteValue(key.get(), u"NextProfileID"_s), platform::ERROR_SUCCESS);
  ProfileRecord second = TableProfile(u"Second"_s);
  EXPECT_FALSE(Create(&second));
  EXPECT_EQ(LastShown(), kCounterError);
  EXPECT_TRUE(Rows(u"SELECT * FROM ProfileInfo WHERE DBInfo = 'Second'"_s).isEmpty());
}

TEST_F(ProfileStoreTest, FailedStatusRowRollsTheNewProfileBack) {
  Refuse(u"INSERT"_s, u"UserProfileStatus"_s);
  ProfileRecord record = TableProfile(u"People"_s);
  EXPECT_FALSE(Create(&record));
  EXPECT_EQ(LastShown(), u"Error in Profile Creation"_s);
  EXPECT_TRUE(ProfileRow(3).isEmpty()) << "no profile without its status row";
  // The number is gone for good: the next profile takes another.
  Allow(u"INSERT"_s, u"UserProfileStatus"_s);
  ProfileRecord next = TableProfile(u"People"_s);
  ASSERT_TRUE(Create(&next));
  EXPECT_EQ(next.ProfileID, 4);
}

TEST_F(ProfileStoreTest, EditReplacesTheProfileUnderItsNumber) {
  ProfileRecord record = TableProfile(u"People"_s);
  ASSERT_TRUE(Create(&record));
  ASSERT_EQ(SetNextProfileID(50), 1);
  ProfileRecord edited = record;
  edited.Query = u"Select \"id\" from \"public\".\"people\""_s;
  ASSERT_TRUE(Create(&edited, ProfileStoreMode::kEdit));
  EXPECT_EQ(edited.ProfileID, 3);
  EXPECT_EQ(NextCounter(), 50) << "an edit takes no number";
  const QList<QStringList> row = ProfileRow(3);
  ASSERT_EQ(row.size(), 1);
  EXPECT_EQ(row[0][2], edited.Query);
  EXPECT_EQ(StatusRows(3), QList<QStringList>({{u"dev-1"_s, u"D"_s}, {u"dev-1"_s, u"A"_s}}));
  EXPECT_EQ(RecordIndex(3), DWORD{1});
  EXPECT_EQ(LastShown(), kUpdated);
}

TEST_F(ProfileStoreTest, FailureMidEditKeepsTheOldProfileAndItsRecordIndex) {
  ProfileRecord record = TableProfile(u"People"_s);
  ASSERT_TRUE(Create(&record));
  ASSERT_TRUE(SetRecordIndex(3, 40));
  Refuse(u"INSERT"_s, u"ProfileInfo"_s);
  ProfileRecord edited = record;
  edited.Query = u"Select \"id\" from \"public\".\"people\""_s;
  EXPECT_FALSE(Create(&edited, ProfileStoreMode::kEdit));
  EXPECT_EQ(LastShown(), u"Error in Profile Creation"_s);
  const QList<QStringList> row = ProfileRow(3);
  ASSERT_EQ(row.size(), 1);
  EXPECT_EQ(row[0][2], record.Query);
  EXPECT_EQ(StatusRows(3), QList<QStringList>({{u"dev-1"_s, u"A"_s}}));
  EXPECT_EQ(RecordIndex(3), DWORD{40});
}

TEST_F(ProfileStoreTest, Refusals) {
  struct Case {
    const char* label;
    QString user;
    ProfileRecord record;
    QString message;
  };
  ProfileRecord longQuery = TableProfile(u"Long"_s);
  longQuery.Query = u"Select "_s + QString(kLongestProfileText, u'x');
  ProfileRecord longFilters = TableProfile(u"Long"_s);
  longFilters.FiltersInfo = QString(kLongestProfileText + 1, u'#');
  ProfileRecord longSorts = TableProfile(u"Long"_s);
  longSorts.SortColumnsInfo = QString(kLongestProfileText + 1, u'#');
  const Case cases[] = {
      {"no default device user", {}, TableProfile(u"People"_s), kNoDevice},
      {"Query", u"dev-1"_s, longQuery, {}},
      {"FiltersInfo", u"dev-1"_s, longFilters, {}},
      {"SortColumnsInfo", u"dev-1"_s, longSorts, {}},
  };
  for (const Case& c : cases) {
    ProfileRecord record = c.record;
    EXPECT_FALSE(Create(&record, ProfileStoreMode::kNew, c.user)) << c.label;
    if (c.message.isEmpty()) {
      EXPECT_TRUE(LastShown().contains(QString::fromUtf8(c.label))) << qPrintable(LastShown());
    } else {
      EXPECT_EQ(LastShown(), c.message) << c.label;
      EXPECT_EQ(Shown().last().icon(), platform::MB_ICONERROR);
    }
    EXPECT_EQ(NextCounter(), 3) << c.label << ": nothing taken";
  }
  EXPECT_EQ(Rows(u"SELECT COUNT(*) FROM ProfileInfo"_s), QList<QStringList>({{u"0"_s}}));
  // A text of exactly the limit is kept whole.
  ProfileRecord atLimit = TableProfile(u"AtLimit"_s);
  atLimit.FiltersInfo = QString(kLongestProfileText, u'#');
  ASSERT_TRUE(Create(&atLimit));
  EXPECT_EQ(ProfileRow(atLimit.ProfileID)[0][6], atLimit.FiltersInfo);
}

TEST_F(ProfileStoreTest, ProcedureProfileEditMessage) {
  ProfileRecord record = TableProfile(u"Proc"_s);
  record.Query = u"{call \"orders_of\"(1)}"_s;
  record.ProfileType = 2;
  ASSERT_TRUE(CreateProcedureProfile(m_settings, {ProfileStoreMode::kNew, u"dev-1"_s}, &record));
  EXPECT_TRUE(LastShown().startsWith(u"Profile Created successfully."_s));
  Refuse(u"UPDATE"_s, u"UserProfileStatus"_s);
  EXPECT_FALSE(CreateProcedureProfile(m_settings, {ProfileStoreMode::kEdit, u"dev-1"_s}, &record));
  EXPECT_EQ(LastShown(), u"Error in Profile Creation for Edit Profile"_s);
  EXPECT_EQ(ProfileRow(record.ProfileID).size(), 1);
}
