#include "admin/foundation/FormIdCounter.h"
#include "admin/foundation/FormQueries.h"
#include "admin/foundation/FormStatements.h"
#include "platform/registry/Registry.h"
#include "shared/RegistryRecords.h"
#include "tests/admin/foundation/NextFormIdRegistry.h"
#include "tests/admin/foundation/SettingsDatabaseFixture.h"

#include <functional>
#include <optional>

using namespace platform;

namespace {

// A tab text of the form the designer writes, with what the probes look for.
QString TabText(const QString& inside) {
  return QStringLiteral("<TabInfo><NumOfCtrls>1</NumOfCtrls><ControlInfo>") + inside +
         QStringLiteral("</ControlInfo></TabInfo>");
}
QString LookupOf(int32_t profileId) { return QStringLiteral("<LkProfileID>%1</LkProfileID>").arg(profileId); }
QString GoTo(const QString& title) { return QStringLiteral("<DestForm>") + title + QStringLiteral("</DestForm>"); }

class FormStatementsTest : public SettingsDatabaseTest {
 protected:
  // A form of one tab per text, with a status row per user.
  void StoreForm(int32_t formId, int32_t profileId, const QString& title, const QStringList& tabs,
                 const QStringList& users = {}) {
    ASSERT_EQ(SaveFormInfo(m_settings, formId, profileId, title, QStringLiteral("<NumOfGrp>0</NumOfGrp>")), 1);
    for (int32_t tab = 0; tab < tabs.size(); ++tab)
      ASSERT_EQ(SaveFormDetails(m_settings, formId, tab, QStringLiteral("Tab %1").arg(tab), tabs[tab]), 1);
    for (const QString& user : users) ASSERT_EQ(SaveUserFormStatus(m_settings, formId, user, QStringLiteral("A")), 1);
  }
  int FormRows(int32_t formId) {
    return static_cast<int>(
        Rows(QStringLiteral("SELECT FormID FROM FormInfo WHERE FormID = %1").arg(formId)).size() +
        Rows(QStringLiteral("SELECT FormID FROM FormDetails WHERE FormID = %1").arg(formId)).size());
  }
  QStringList StatusFlags(int32_t formId) {
    QStringList flags;
    for (const QStringList& row :
         Rows(QStringLiteral("SELECT StatusFlag FROM UserFormStatus WHERE FormID = %1").arg(formId)))
      flags.append(row.first());
    return flags;
  }
};

}  // namespace

TEST_F(FormStatementsTest, FormsAreStoredColumnByColumnAndFoundByTitle) {
  const QString title = QStringLiteral("Bob's \"orders\" ") + QString(2000, u't');  // past any cut of a title
  const QString tab = TabText(QStringLiteral("<Caption>it's 'quoted'\n%1</Caption>") + QString(10000, u'c'));
  ASSERT_EQ(SaveFormInfo(m_settings, 4, 9, title, QStringLiteral("<R>'1'</R>")), 1);
  ASSERT_EQ(SaveFormDetails(m_settings, 4, 0, QStringLiteral("Tab 'one'"), tab), 1);
  ASSERT_EQ(SaveUserFormStatus(m_settings, 4, QStringLiteral("x' or '1'='1"), QStringLiteral("A")), 1);
  EXPECT_EQ(Rows(QStringLiteral("SELECT * FROM FormInfo")),
            (QList<QStringList>{{QStringLiteral("4"), QStringLiteral("9"), title, QStringLiteral("<R>'1'</R>")}}));
  EXPECT_EQ(Rows(QStringLiteral("SELECT * FROM FormDetails")),
            (QList<QStringList>{{QStringLiteral("4"), QStringLiteral("0"), QStringLiteral("Tab 'one'"), tab}}));
  EXPECT_EQ(Rows(QStringLiteral("SELECT * FROM UserFormStatus")),
            (QList<QStringList>{{QStringLiteral("4"), QStringLiteral("x' or '1'='1"), QStringLiteral("A")}}));

  EXPECT_EQ(GetFormIDByTitle(m_settings, title), 4);
  EXPECT_EQ(IsFormTitleUsed(m_settings, title), 1);
  EXPECT_EQ(GetFormIDByTitle(m_settings, QStringLiteral("Bob's")), 0);
  EXPECT_EQ(IsFormTitleUsed(m_settings, QStringLiteral("x' or '1'='1")), 0);
  EXPECT_EQ(ProfileHasForms(m_settings, 9), 1);
  EXPECT_EQ(ProfileHasForms(m_settings, 1), 0);
  EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(FormStatementsTest, FormIsAssignedWhileAStatusRowIsLive) {
  struct Case {
    int32_t formId;
    QStringList flags;
    int assigned;
  };
  const Case cases[] = {
      {1, {QStringLiteral("D"), QStringLiteral("A")}, 1},
      {2, {QString()}, 1},
      {3, {QStringLiteral("D"), QStringLiteral("D")}, 0},
      {4, {}, 0},
  };
  for (const Case& c : cases) {
    for (const QString& flag : c.flags)
      ASSERT_EQ(SaveUserFormStatus(m_settings, c.formId, QStringLiteral("u"), flag), 1);
  }
  for (const Case& c : cases) EXPECT_EQ(IsFormAssigned(m_settings, c.formId), c.assigned) << c.formId;
}

TEST_F(FormStatementsTest, FailedSavesShowTheirMessages) {
  struct Case {
    const char* table;
    std::function<int(admin::CDatabseConnection&)> save;
    QString message;
  };
  const Case cases[] = {
      {"FormInfo", [](admin::CDatabseConnection& c) { return SaveFormInfo(c, 1, 1, QStringLiteral("t"), QString()); },
       QStringLiteral("Could not save Database FormInfo.")},
      {"FormDetails", [](admin::CDatabseConnection& c) { return SaveFormDetails(c, 1, 0, QStringLiteral("t"), QString()); },
       QStringLiteral("Could not save Database FormDetails.")},
      {"UserFormStatus",
       [](admin::CDatabseConnection& c) { return SaveUserFormStatus(c, 1, QStringLiteral("u"), QStringLiteral("A")); },
       QStringLiteral("Could not save Database UserFormStatus.")},
  };
  for (const Case& c : cases) {
    const QString table = QString::fromLatin1(c.table);
    Refuse(QStringLiteral("INSERT"), table);
    testsupport::MessageBoxRecorder::Global().Clear();
    EXPECT_EQ(c.save(m_settings), 0) << c.table;
    ASSERT_EQ(Shown().size(), 1) << c.table;
    EXPECT_EQ(Shown().first().text, c.message);
    EXPECT_EQ(Shown().first().caption, QStringLiteral("Tarnwick Plus Lite"));
    EXPECT_EQ(Shown().first().icon(), MB_ICONERROR);
    EXPECT_TRUE(Rows(QStringLiteral("SELECT * FROM ") + table).isEmpty());
  }
}

TEST_F(FormStatementsTest, DeleteFormMarksItsStatusRowsBeforeDeleting) {
  struct Case {
    int32_t formId;
    QStringList users;
    QString refusedAction;
    QString refusedTable;
    int result;
    int rowsLeft;  // FormInfo and FormDetails rows
    QString logLine;
  };
  const Case cases[] = {
      {1, {QStringLiteral("u1"), QStringLiteral("u2")}, QString(), QString(), 1, 0, QString()},
      {2, {}, QString(), QString(), 1, 0, QString()},
      {3,
       {QStringLiteral("u1")},
       QStringLiteral("UPDATE"),
       QStringLiteral("UserFormStatus"),
       0,
       3,
       QStringLiteral("Error while updating UserFormStatus for FormID 3 to Delete Status.")},
      {4,
       {QStringLiteral("u1")},
       QStringLiteral("DELETE"),
       QStringLiteral("FormDetails"),
       1,
       2,
       QStringLiteral("Error while deleting FormDetails of each tab for FormID 4.")},
      {5,
       {QStringLiteral("u1")},
       QStringLiteral("DELETE"),
       QStringLiteral("FormInfo"),
       1,
       1,
       QStringLiteral("Error while deleting FormInfo for FormID 5.")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.formId);
    StoreForm(c.formId, 1, QStringLiteral("Form %1").arg(c.formId), {TabText({}), TabText({})}, c.users);
    StoreForm(100 + c.formId, 1, QStringLiteral("Other %1").arg(c.formId), {TabText({})}, {QStringLiteral("u1")});
    if (!c.refusedAction.isEmpty()) Refuse(c.refusedAction, c.refusedTable);
    EXPECT_EQ(DeleteForm(m_settings, c.formId), c.result);
    if (!c.refusedAction.isEmpty()) Allow(c.refusedAction, c.refusedTable);
    EXPECT_EQ(FormRows(c.formId), c.rowsLeft);
    EXPECT_EQ(StatusFlags(c.formId),
              QStringList(c.users.size(), c.result == 1 ? QStringLiteral("D") : QStringLiteral("A")));
    EXPECT_EQ(FormRows(100 + c.formId), 2);
    EXPECT_EQ(StatusFlags(100 + c.formId), QStringList{QStringLiteral("A")});
    if (!c.logLine.isEmpty()) {
      const auto lines = testsupport::EntriesContaining(LogEntries(), c.logLine);
      ASSERT_EQ(lines.size(), 1);
      EXPECT_EQ(lines.first().code, -1);
      EXPECT_EQ(lines.first().text, c.logLine);
    }
  }
  EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(FormStatementsTest, DeleteFormsOfProfileDeletesEveryFormOfIt) {
  for (int32_t formId = 1; formId <= 3; ++formId)
    StoreForm(formId, 5, QStringLiteral("Form %1").arg(formId), {TabText({}), TabText({})}, {QStringLiteral("u1")});
  StoreForm(4, 6, QStringLiteral("Other"), {TabText({})}, {QStringLiteral("u1")});
  EXPECT_EQ(DeleteFormsOfProfile(m_settings, 5), 1);
  EXPECT_EQ(Rows(QStringLiteral("SELECT FormID FROM FormInfo")), (QList<QStringList>{{QStringLiteral("4")}}));
  EXPECT_EQ(Rows(QStringLiteral("SELECT FormID FROM FormDetails")), (QList<QStringList>{{QStringLiteral("4")}}));
  for (int32_t formId = 1; formId <= 3; ++formId) EXPECT_EQ(StatusFlags(formId), QStringList{QStringLiteral("D")});
  EXPECT_EQ(StatusFlags(4), QStringList{QStringLiteral("A")});
  EXPECT_EQ(ProfileHasForms(m_settings, 5), 0);
}

TEST_F(FormStatementsTest, TabTextsAreSearchedWholeForLookupsAndGoToTargets) {
  const QString filler(300000, u'f');  // the probes stand past 262,119 characters
  const QString longTitle = QStringLiteral("Long ") + QString(1500, u'l');
  StoreForm(1, 10, QStringLiteral("Orders"), {TabText(LookupOf(12)), TabText(GoTo(QStringLiteral("Orders Detail")))});
  StoreForm(2, 20, longTitle, {TabText(filler + LookupOf(7) + GoTo(QStringLiteral("O'Neil's")))});
  StoreForm(3, 30, QStringLiteral("O'Neil's"), {TabText({})});
  StoreForm(4, 40, QStringLiteral("Orders Detail"), {TabText({})});

  struct LookupCase {
    int32_t profile;
    int found;
    QString title;
  };
  for (const LookupCase& c :
       {LookupCase{1, 0, QString()}, LookupCase{12, 1, QStringLiteral("Orders")}, LookupCase{7, 1, longTitle}}) {
    QString title = QStringLiteral("stale");
    EXPECT_EQ(FindFormUsingLookupProfile(m_settings, c.profile, &title), c.found) << c.profile;
    EXPECT_EQ(title, c.title) << c.profile;
  }

  struct TargetCase {
    QString title;
    int target;
  };
  for (const TargetCase& c : {TargetCase{QStringLiteral("Orders Detail"), 1}, TargetCase{QStringLiteral("Orders"), 0},
                              TargetCase{QStringLiteral("O'Neil's"), 1}, TargetCase{QString(), 0}}) {
    EXPECT_EQ(IsGoToFormTarget(m_settings, c.title), c.target) << qPrintable(c.title);
  }
  EXPECT_EQ(IsProfileFormGoToTarget(m_settings, 30), 1);
  EXPECT_EQ(IsProfileFormGoToTarget(m_settings, 40), 1);
  EXPECT_EQ(IsProfileFormGoToTarget(m_settings, 10), 0);
  EXPECT_EQ(IsProfileFormGoToTarget(m_settings, 99), 0);

  QStringList titles = {QStringLiteral("kept")};
  QStringList profiles;
  GetFormList(m_settings, QStringLiteral("O'Neil's"), &titles, &profiles);
  EXPECT_EQ(titles, (QStringList{QStringLiteral("kept"), QStringLiteral("Orders"), longTitle,
                                 QStringLiteral("Orders Detail")}));
  EXPECT_EQ(profiles, (QStringList{QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("40")}));

  m_settings.DisconnectDataSource();
  QString title = QStringLiteral("stale");
  EXPECT_EQ(FindFormUsingLookupProfile(m_settings, 12, &title), 0);
  EXPECT_EQ(title, QString());
  EXPECT_EQ(IsGoToFormTarget(m_settings, QStringLiteral("Orders Detail")), 0);
  EXPECT_EQ(IsProfileFormGoToTarget(m_settings, 40), 0);
  QStringList none;
  GetFormList(m_settings, QString(), &none, &none);
  EXPECT_TRUE(none.isEmpty());
}

TEST_F(FormStatementsTest, CounterIsReadWrittenAndCreatedWhenMissing) {
  int32_t value = 0;
  EXPECT_EQ(GetNextFormID(&value), 1);  // no value yet: created with 1
  EXPECT_EQ(value, 1);
  ASSERT_TRUE(testsupport::StoredNextFormID().has_value());
  EXPECT_EQ(SetNextFormID(9), 1);
  EXPECT_EQ(GetNextFormID(&value), 1);
  EXPECT_EQ(value, 9);
  EXPECT_EQ(InitNextFormID(), 1);
  EXPECT_EQ(GetNextFormID(&value), 1);
  EXPECT_EQ(value, 1);

  testsupport::StoreNextFormID(RegistryValue::FromString(QStringLiteral("12")));
  value = 5;
  EXPECT_EQ(GetNextFormID(&value), 0);
  EXPECT_EQ(value, 5);
  int32_t taken = 0;
  EXPECT_EQ(TakeNextFormID(m_settings, &taken), 0);
  EXPECT_EQ(testsupport::StoredNextFormID()->type, REG_SZ);  // a value that is no number is left as it is

  RegistryKeyGuard root;
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("Software"), KEY_ALL_ACCESS, root.out()), ERROR_SUCCESS);
  ASSERT_EQ(RegDeleteKey(root.get(), QStringLiteral("TarnwickWebLite")), ERROR_SUCCESS);
  EXPECT_EQ(GetNextFormID(&value), 0);
  EXPECT_EQ(InitNextFormID(), 0);
  EXPECT_EQ(SetNextFormID(3), 0);
  EXPECT_EQ(TakeNextFormID(m_settings, &taken), 0);
}

// A new form's identifier comes from the counter, never repeats one still in the database, and
// the counter is past it before the form's rows are written.
TEST_F(FormStatementsTest, NewFormIdentifiersMovePastStoredForms) {
  struct Case {
    const char* name;
    std::optional<DWORD> counter;  // nothing: the value was lost
    int32_t expected;
  };
  const Case cases[] = {
      {"counter ahead", 20, 20},
      {"counter behind the stored forms", 2, 8},
      {"counter lost", std::nullopt, 8},
  };
  StoreForm(1, 1, QStringLiteral("a"), {TabText({})});
  StoreForm(3, 1, QStringLiteral("b"), {TabText({})});
  ASSERT_EQ(SaveUserFormStatus(m_settings, 7, QStringLiteral("u1"), QStringLiteral("D")), 1);  // a deleted form
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.counter)
      testsupport::StoreNextFormID(RegistryValue::FromDword(*c.counter));
    else
      testsupport::LoseNextFormID();
    int32_t formId = 0;
    ASSERT_EQ(TakeNextFormID(m_settings, &formId), 1);
    EXPECT_EQ(formId, c.expected);
    DWORD stored = 0;
    ASSERT_TRUE(testsupport::StoredNextFormID().has_value() && testsupport::StoredNextFormID()->ToDword(&stored));
    EXPECT_EQ(stored, static_cast<DWORD>(c.expected + 1));
    int32_t next = 0;
    ASSERT_EQ(TakeNextFormID(m_settings, &next), 1);
    EXPECT_EQ(next, c.expected + 1);
  }
}
