// Removing profiles with their forms, as both managers do: all or nothing, forms only after
// their profile went, and the question a caller may ask about profiles that have forms.
#include "admin/foundation/ProfileRemoval.h"

#include "admin/foundation/FormStatements.h"
#include "admin/foundation/ProfileStatements.h"
#include "tests/admin/foundation/SettingsDatabaseFixture.h"

namespace {

using Outcome = ProfileRemovalResult::Outcome;

class ProfileRemovalTest : public SettingsDatabaseTest {
 protected:
  void SetUp() override {
    SettingsDatabaseTest::SetUp();
    for (int32_t id : {71, 72}) {
      ProfileRecord record;
      record.ProfileID = id;
      record.DBInfo = QStringLiteral("P%1").arg(id);
      ASSERT_EQ(SaveProfileInfo(m_settings, record), 1);
      ASSERT_EQ(SaveUserProfileStatus(m_settings, {QStringLiteral("u1"), id, QStringLiteral("A")}), 1);
    }
    ASSERT_EQ(SaveFormInfo(m_settings, 801, 72, QStringLiteral("F72"), QStringLiteral("<NumOfGrp>0</NumOfGrp>")), 1);
    ASSERT_EQ(SaveFormDetails(m_settings, 801, 0, QStringLiteral("Tab"), QStringLiteral("<TabInfo></TabInfo>")), 1);
  }
  qsizetype Profiles() { return Rows(QStringLiteral("SELECT ProfileID FROM ProfileInfo WHERE ProfileID > 70")).size(); }
  qsizetype Forms() { return Rows(QStringLiteral("SELECT FormID FROM FormInfo WHERE FormID = 801")).size(); }
};

}  // namespace

TEST_F(ProfileRemovalTest, TheQuestionIsAskedForProfilesWithFormsAndNoKeepsThemAll) {
  QList<int32_t> asked;
  const ProfileRemovalResult declined = RemoveProfiles(m_settings, {71, 72}, [&asked](int32_t id) {
    asked.append(id);
    return false;
  });
  EXPECT_EQ(declined.outcome, Outcome::Declined);
  EXPECT_TRUE(declined.message.isEmpty());
  EXPECT_EQ(asked, QList<int32_t>{72});
  EXPECT_EQ(Profiles(), 2);
  EXPECT_EQ(Forms(), 1);

  const ProfileRemovalResult removed = RemoveProfiles(m_settings, {71, 72}, [](int32_t) { return true; });
  EXPECT_EQ(removed.outcome, Outcome::Removed);
  EXPECT_EQ(removed.removed, (QList<int32_t>{71, 72}));
  EXPECT_EQ(Profiles(), 0);
  EXPECT_EQ(Forms(), 0);
}

TEST_F(ProfileRemovalTest, FormsStayWithAProfileWhoseDeletionFailed) {
  Refuse(QStringLiteral("UPDATE"), QStringLiteral("UserProfileStatus"));
  const ProfileRemovalResult result = RemoveProfiles(m_settings, {72});
  EXPECT_EQ(result.outcome, Outcome::Removed);
  EXPECT_TRUE(result.removed.isEmpty());
  EXPECT_EQ(Profiles(), 2);
  EXPECT_EQ(Forms(), 1);
}
