#include "admin/foundation/FormQueries.h"
#include "admin/foundation/FormStatements.h"
#include "admin/profiles/ProfileList.h"
#include "admin/profiles/ProfileManagerActions.h"
#include "tests/admin/foundation/SettingsDatabaseFixture.h"

using namespace Qt::StringLiterals;
using testsupport::MessageBoxRecorder;

namespace {

const QString kNoProfile = u"No Profile is Selected."_s;

class ProfileManagerCore : public SettingsDatabaseTest {
 protected:
  void StoreProfile(int32_t id, const QString& name, const QString& dbType, const QStringList& flags) {
    Execute(
        u"INSERT INTO ProfileInfo (ProfileID, DBInfo, DBType, DB_DSN, Path, Query, ProfileType) VALUES "
        "(%1, '%2', '%3', 'Orders.mdb', '/data/', 'Select \"a\" from \"t\"', 0)"_s.arg(id)
            .arg(name, dbType));
    for (const QString& flag : flags)
      Execute(u"INSERT INTO UserProfileStatus VALUES ('dev-1', %1, '%2')"_s.arg(id).arg(flag));
  }
  void StoreForm(int32_t formId, int32_t profileId, const QString& title, const QString& control) {
    ASSERT_EQ(SaveFormInfo(m_settings, formId, profileId, title, u"<NumOfGrp>0</NumOfGrp>"_s), 1);
    ASSERT_EQ(SaveFormDetails(
                  m_settings, formId, 0, u"Tab 0"_s,
                  u"<TabInfo><NumOfCtrls>1</NumOfCtrls><ControlInfo>"_s + control + u"</ControlInfo></TabInfo>"_s),
              1);
  }
  QStringList ShownTexts() const {
    QStringList texts;
    for (const platform::MessageBoxRequest& request : Shown()) texts.append(request.text);
    return texts;
  }
  int LiveRows(int32_t id) {
    return static_cast<int>(
        Rows(u"SELECT * FROM UserProfileStatus WHERE ProfileID = %1 AND StatusFlag <> 'D'"_s.arg(id)).size());
  }
};

}  // namespace

TEST_F(ProfileManagerCore, ListsLiveProfilesAndMarksPendingOnes) {
  StoreProfile(1, u"SampleProfile_Artist"_s, u"1"_s, {u""_s});
  StoreProfile(3, u"Gone"_s, u"0"_s, {u"D"_s, u"D"_s});
  StoreProfile(4, u"Pending"_s, u"0"_s, {u"D"_s, u"A"_s});
  const QList<ProfileListRow> rows = LoadProfileList(m_settings);
  ASSERT_EQ(rows.size(), 2);
  EXPECT_EQ(rows[0].name, u"SampleProfile_Artist"_s);
  EXPECT_EQ(rows[0].source, u"/data/Orders.mdb"_s);
  EXPECT_FALSE(rows[0].pending);
  EXPECT_EQ(rows[1].name, u"Pending"_s);
  EXPECT_EQ(rows[1].source, u"Orders.mdb"_s) << "a data source name stands alone";
  EXPECT_EQ(rows[1].query, u"Select \"a\" from \"t\""_s);
  EXPECT_TRUE(rows[1].pending);
}

TEST_F(ProfileManagerCore, EditRefusals) {
  StoreProfile(1, u"SampleProfile_Artist"_s, u"1"_s, {u""_s});
  StoreProfile(2, u"Renamed sample"_s, u"1"_s, {u""_s});
  StoreProfile(4, u"Pending"_s, u"0"_s, {u"A"_s});
  StoreProfile(5, u"Ready"_s, u"0"_s, {u""_s});
  struct Case {
    const char* label;
    QString name;
    QString refusal;
  } cases[] = {
      {"nothing selected", {}, kNoProfile},
      {"removed meanwhile", u"Removed"_s, kNoProfile},
      {"sample profile", u"SampleProfile_Artist"_s, u"You Can not Edit Sample Profile."_s},
      {"sample number under another name", u"Renamed sample"_s, {}},
      {"pending", u"Pending"_s,
       u"Profile is in syncing process, please wait. You will able to edit the profile, when profile's red color "
       "changes to normal color.."_s},
      {"ready", u"Ready"_s, {}},
  };
  for (const Case& c : cases) {
    ProfileRecord record;
    EXPECT_EQ(EditProfileRefusal(m_settings, c.name, &record), c.refusal) << c.label;
    if (c.refusal.isEmpty()) {
      EXPECT_EQ(record.DBInfo, c.name) << c.label;
    }
  }
  ProfileRecord record;
  ASSERT_TRUE(EditProfileRefusal(m_settings, u"Ready"_s, &record).isEmpty());
  EXPECT_EQ(record.ProfileID, 5);
  EXPECT_EQ(record.Query, u"Select \"a\" from \"t\""_s);
}

TEST_F(ProfileManagerCore, RemovalRules) {
  StoreProfile(5, u"Lookup source"_s, u"0"_s, {u""_s});
  StoreProfile(6, u"Go To target"_s, u"0"_s, {u""_s});
  StoreProfile(7, u"With forms"_s, u"0"_s, {u""_s});
  StoreProfile(8, u"Pending"_s, u"0"_s, {u"A"_s});
  StoreForm(50, 9, u"Reader"_s, u"<LkProfileID>5</LkProfileID><DestForm>Target</DestForm>"_s);
  StoreForm(60, 6, u"Target"_s, u"<Caption>x</Caption>"_s);
  StoreForm(70, 7, u"Own form"_s, u"<Caption>x</Caption>"_s);
  struct Case {
    const char* label;
    QString name;
    QList<int> answers;
    bool removed;
    QStringList shown;
  } cases[] = {
      {"No to the first question",
       u"With forms"_s,
       {platform::IDNO},
       false,
       {u"Are you sure to remove Profile : With forms ?"_s}},
      {"lookup source",
       u"Lookup source"_s,
       {platform::IDYES},
       false,
       {u"Are you sure to remove Profile : Lookup source ?"_s,
        u"You can not delete this profile, Profile is used as Lookup Profile in \"Reader\" Form."_s}},
      {"Go To target",
       u"Go To target"_s,
       {platform::IDYES},
       false,
       {u"Are you sure to remove Profile : Go To target ?"_s,
        u"You can not delete this Profile, Form assigned to this Profile is used in another Form for \"Go To Form\" "
        "option."_s}},
      {"forms asked twice, No",
       u"With forms"_s,
       {platform::IDYES, platform::IDNO},
       false,
       {u"Are you sure to remove Profile : With forms ?"_s,
        u"This Profile have Form assigned, Are you sure to remove Profile : With forms ?"_s}},
      {"forms asked twice, Yes",
       u"With forms"_s,
       {platform::IDYES, platform::IDYES},
       true,
       {u"Are you sure to remove Profile : With forms ?"_s,
        u"This Profile have Form assigned, Are you sure to remove Profile : With forms ?"_s}},
      {"a pending profile can be removed",
       u"Pending"_s,
       {platform::IDYES},
       true,
       {u"Are you sure to remove Profile : Pending ?"_s}},
      {"nothing selected", {}, {}, false, {kNoProfile}},
  };
  for (const Case& c : cases) {
    MessageBoxRecorder::Global().Clear();
    MessageBoxRecorder::Global().ScriptAnswers(c.answers);
    EXPECT_EQ(RemoveListedProfile(m_settings, c.name), c.removed) << c.label;
    EXPECT_EQ(ShownTexts(), c.shown) << c.label;
  }
  EXPECT_EQ(LiveRows(7), 0);
  EXPECT_EQ(ProfileHasForms(m_settings, 7), 0) << "its forms went with it";
  EXPECT_EQ(LiveRows(5), 1);
  EXPECT_EQ(ProfileHasForms(m_settings, 6), 1);
}

TEST_F(ProfileManagerCore, FormsStayWhenTheProfileCannotBeRemoved) {
  StoreProfile(7, u"With forms"_s, u"0"_s, {u""_s});
  StoreForm(70, 7, u"Own form"_s, u"<Caption>x</Caption>"_s);
  Refuse(u"UPDATE"_s, u"UserProfileStatus"_s);
  MessageBoxRecorder::Global().ScriptAnswers({platform::IDYES, platform::IDYES});
  EXPECT_FALSE(RemoveListedProfile(m_settings, u"With forms"_s));
  EXPECT_EQ(Shown().last().text, u"Failed to remove Profile : With forms."_s);
  EXPECT_EQ(ProfileHasForms(m_settings, 7), 1);
  EXPECT_EQ(LiveRows(7), 1);
}

TEST(ProfileManagerWarning, PerSyncProgramState) {
  EXPECT_EQ(SyncProcessWarning(1), QString());
  EXPECT_EQ(SyncProcessWarning(0),
            u"Synchronization Service is Stopped, \r\nto Start go to \"Preferences -> Start Synchronization\"."_s);
  EXPECT_EQ(SyncProcessWarning(-1),
            u"Unable to check SyncService status, \r\nto Start go to \"Preferences -> Start Synchronization\"."_s);
}
