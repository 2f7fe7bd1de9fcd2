#include "admin/forms/FormDesignerDlg.h"
#include "admin/foundation/FormQueries.h"
#include "admin/foundation/FormStatements.h"
#include "tests/admin/foundation/NextFormIdRegistry.h"
#include "tests/admin/foundation/SettingsDatabaseFixture.h"

#include <functional>
#include <memory>

using namespace platform;

namespace {

const QString kUser = QStringLiteral("device-1");

const ProfileColumns kColumns = {
    {QStringLiteral("Name"), QStringLiteral("SQL_VARCHAR")},
    {QStringLiteral("Age"), QStringLiteral("SQL_INTEGER")},
    {QStringLiteral("Born"), QStringLiteral("SQL_DATE")},
};

void StoreCounter(DWORD value) { testsupport::StoreNextFormID(RegistryValue::FromDword(value)); }

DWORD StoredCounter() {
  DWORD number = 0;
  const std::optional<RegistryValue> value = testsupport::StoredNextFormID();
  if (value) value->ToDword(&number);
  return number;
}

FormControlInfo* Place(CFormDesignerDlg& designer, int tab, int top, int type) {
  auto control = std::make_unique<FormControlInfo>();
  control->Type = type;
  const QRect canvas = designer.GetCanvasRect();
  designer.PlaceCtrl(control.get(), canvas.left() + 5, canvas.top() + top, canvas.left() + 105, canvas.top() + top + 25);
  FormTabInfo* on = designer.GetDocument().GetFormInfo().GetTab(tab);
  return on->GetControl(on->AddControl(std::move(control)));
}

// A form of three tabs on the page: a TextBox for Name, a DateTime for Born, a Label.
void Design(CFormDesignerDlg& designer, const QString& name) {
  designer.GetDocument().SetProfileColumns(kColumns);
  designer.GetDocument().BuildActionList(0);
  FormInfo& form = designer.GetDocument().GetFormInfo();
  form.SetFormName(name);
  form.ProfileID = 3;
  for (int t = 0; t < 3; ++t) form.AddFormTab(t, QStringLiteral("Tab %1").arg(t));
  Place(designer, 0, 40, kTextBox)->DataColumn = QStringLiteral("Name");
  Place(designer, 1, 80, kDateTime)->DataColumn = QStringLiteral("Born");
  Place(designer, 2, 120, kLabel);
}

class FormSaverTest : public SettingsDatabaseTest {
 protected:
  struct Snapshot {
    QList<QStringList> forms, tabs, status;
    bool operator==(const Snapshot&) const = default;
  };
  Snapshot Stored() {
    return {Rows(QStringLiteral("SELECT * FROM FormInfo ORDER BY FormID")),
            Rows(QStringLiteral("SELECT * FROM FormDetails ORDER BY FormID, TabID")),
            Rows(QStringLiteral("SELECT * FROM UserFormStatus ORDER BY FormID, UserID"))};
  }

  std::optional<int32_t> Save(CFormDesignerDlg& designer, const CFormSaver::Target& target = {false, 0, {}, kUser}) {
    return designer.SaveForm(m_settings, target, [this](const ProfileColumns& unmapped, auto* values) {
      m_asked.clear();
      for (const ProfileColumn& column : unmapped) m_asked.append(column.Name);
      for (const ProfileColumn& column : unmapped) values->push_back({column.Name, QStringLiteral("1")});
      return m_answer;
    });
  }

  QString LastBox() const { return Shown().isEmpty() ? QString() : Shown().last().text; }

  QStringList m_asked;
  bool m_answer = true;
};

}  // namespace

TEST_F(FormSaverTest, ANewFormTakesTheCounterAndWritesEveryRow) {
  StoreCounter(7);
  CFormDesignerDlg designer;
  Design(designer, QStringLiteral("  Orders  "));
  ASSERT_EQ(Save(designer), 7);
  EXPECT_EQ(StoredCounter(), 8u);
  const auto forms = Rows(QStringLiteral("SELECT FormID, ProfileID, FormTitle FROM FormInfo"));
  EXPECT_EQ(forms, (QList<QStringList>{{QStringLiteral("7"), QStringLiteral("3"), QStringLiteral("Orders")}}));
  const auto tabs = Rows(QStringLiteral("SELECT FormID, TabID, TabTitle FROM FormDetails ORDER BY TabID"));
  ASSERT_EQ(tabs.size(), 3);
  for (int t = 0; t < 3; ++t)
    EXPECT_EQ(tabs[t], (QStringList{QStringLiteral("7"), QString::number(t), QStringLiteral("Tab %1").arg(t)}));
  EXPECT_EQ(Rows(QStringLiteral("SELECT * FROM UserFormStatus")),
            (QList<QStringList>{{QStringLiteral("7"), kUser, QStringLiteral("A")}}));
  EXPECT_TRUE(Shown().isEmpty());
  EXPECT_FALSE(testsupport::EntriesContaining(
                   LogEntries(), QStringLiteral("<FormDesignerDlg> <OnFinish> Form \"Orders\" Created Successfully with Form ID 7."))
                   .isEmpty());
}

// Default values are asked for the columns no control maps, whatever the counts say, and only
// when the form can add records.
TEST_F(FormSaverTest, DefaultValuesOfTheUnmappedColumns) {
  CFormDesignerDlg designer;
  Design(designer, QStringLiteral("Orders"));
  designer.GetDocument().GetDefaultValues().push_back({QStringLiteral("Old"), QStringLiteral("x")});
  ASSERT_TRUE(Save(designer));
  EXPECT_TRUE(m_asked.isEmpty()) << "no New button: nothing asked";
  EXPECT_TRUE(designer.GetDocument().GetDefaultValues().empty());

  CFormDesignerDlg adding;
  Design(adding, QStringLiteral("Adding"));
  Place(adding, 0, 200, kButton)->Action = QStringLiteral("New");
  // Name twice: as many columns in use as the profile has, and Age still unmapped.
  Place(adding, 1, 200, kComboBox)->DataColumn = QStringLiteral("Name");
  ASSERT_TRUE(Save(adding));
  EXPECT_EQ(m_asked, QStringList{QStringLiteral("Age")});
  EXPECT_EQ(adding.GetDocument().GetDefaultValues(), (std::vector<FieldDefaultValue>{{QStringLiteral("Age"), QStringLiteral("1")}}));
  const auto text = Rows(QStringLiteral("SELECT FormInfo FROM FormInfo WHERE FormTitle = 'Adding'"));
  ASSERT_EQ(text.size(), 1);
  EXPECT_TRUE(text[0][0].contains(QStringLiteral("Age"))) << qPrintable(text[0][0]);
}

// Each refusal or failure shows its box and leaves the database as it was, the edited form
// included; the checks run in this order.
TEST_F(FormSaverTest, RefusalsAndFailuresChangeNothingStored) {
  struct Case {
    const char* name;
    std::function<void(CFormDesignerDlg&, CFormSaver::Target&)> arrange;
    QString box;
    bool errorIcon;
  };
  const auto rename = [](CFormDesignerDlg& d, CFormSaver::Target&) {
    d.GetDocument().GetFormInfo().SetFormName(QStringLiteral("Renamed"));
  };
  const Case cases[] = {
      {"Go To Form without a link, before the blank name",
       [](CFormDesignerDlg& d, CFormSaver::Target&) {
         Place(d, 0, 200, kButton)->Action = kGoToFormAction;
         d.GetDocument().GetFormInfo().SetFormName(QStringLiteral("   "));
       },
       QStringLiteral("Please Select Form for \"Go To Form\" Button(s)."), false},
      {"default values not given",
       [this](CFormDesignerDlg& d, CFormSaver::Target&) {
         Place(d, 0, 200, kButton)->Action = QStringLiteral("New");
         m_answer = false;
       },
       QStringLiteral("Not all Fields are mapped, Please map all Fields in Profile."), false},
      {"blank name",
       [](CFormDesignerDlg& d, CFormSaver::Target&) { d.GetDocument().GetFormInfo().SetFormName(QStringLiteral(" ")); },
       QStringLiteral("Please, Enter Form Name."), false},
      {"another form's name",
       [](CFormDesignerDlg& d, CFormSaver::Target&) {
         d.GetDocument().GetFormInfo().SetFormName(QStringLiteral(" Linking "));
       },
       QStringLiteral("Form already exist with the same name. Please, Enter another Form Name."), false},
      {"renaming a form a link points at", rename,
       QStringLiteral("Form Name can not be changed: a \"Go To Form\" Button of Form \"Linking\" points at Form "
                      "\"Edited\"."),
       false},
      {"no default device user",
       [](CFormDesignerDlg&, CFormSaver::Target& target) { target.DefaultUserID.clear(); },
       QStringLiteral("Device ID of this desktop is not available. Please install Tarnwick Plus Lite again."), true},
      {"a value the form text cannot hold",
       [](CFormDesignerDlg& d, CFormSaver::Target&) {
         Place(d, 2, 200, kLabel)->Caption = QStringLiteral("a</Caption>");
       },
       QStringLiteral("Error in Form Creation."), true},
      {"the edited form cannot be deleted",
       [this](CFormDesignerDlg&, CFormSaver::Target&) {
         Refuse(QStringLiteral("DELETE"), QStringLiteral("FormInfo"));
       },
       QStringLiteral("Error in Form Creation."), true},
      {"a tab row cannot be inserted",
       [this](CFormDesignerDlg&, CFormSaver::Target&) {
         Refuse(QStringLiteral("INSERT"), QStringLiteral("FormDetails"));
       },
       QStringLiteral("Error in Form Creation."), true},
      {"the status row cannot be inserted",
       [this](CFormDesignerDlg&, CFormSaver::Target&) {
         Refuse(QStringLiteral("INSERT"), QStringLiteral("UserFormStatus"));
       },
       QStringLiteral("Error in Form Creation."), true},
  };
  ASSERT_EQ(SaveFormInfo(m_settings, 1, 3, QStringLiteral("Edited"), QStringLiteral("<NumOfGrp>0</NumOfGrp>")), 1);
  ASSERT_EQ(SaveFormDetails(m_settings, 1, 0, QStringLiteral("Tab"), QStringLiteral("<TabInfo></TabInfo>")), 1);
  ASSERT_EQ(SaveUserFormStatus(m_settings, 1, kUser, QStringLiteral("A")), 1);
  ASSERT_EQ(SaveFormInfo(m_settings, 2, 3, QStringLiteral("Linking"), QStringLiteral("<NumOfGrp>0</NumOfGrp>")), 1);
  ASSERT_EQ(SaveFormDetails(m_settings, 2, 0, QStringLiteral("Tab"),
                            QStringLiteral("<TabInfo><DestForm>Edited</DestForm></TabInfo>")),
            1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Snapshot before = Stored();
    testsupport::MessageBoxRecorder::Global().Clear();
    m_answer = true;
    CFormDesignerDlg designer;
    Design(designer, QStringLiteral("Edited"));
    CFormSaver::Target target{true, 1, QStringLiteral("Edited"), kUser};
    c.arrange(designer, target);
    EXPECT_EQ(Save(designer, target), std::nullopt);
    EXPECT_EQ(LastBox(), c.box);
    const unsigned icon = Shown().isEmpty() ? 0 : Shown().last().type & 0xF0;
    EXPECT_EQ(icon, c.errorIcon ? MB_ICONERROR : MB_ICONINFORMATION);
    EXPECT_TRUE(Stored() == before);
    Execute(QStringLiteral("DROP TRIGGER IF EXISTS RefuseDELETEFormInfo"));
    Execute(QStringLiteral("DROP TRIGGER IF EXISTS RefuseINSERTFormDetails"));
    Execute(QStringLiteral("DROP TRIGGER IF EXISTS RefuseINSERTUserFormStatus"));
  }
}

// Opened and finished unchanged, a form is stored again as it was under a new identifier; the
// old one's status row tells the devices it is gone.
TEST_F(FormSaverTest, AnUnchangedEditStoresTheSameTextsUnderANewIdentifier) {
  StoreCounter(7);
  CFormDesignerDlg designer;
  Design(designer, QStringLiteral("Orders"));
  ASSERT_EQ(Save(designer), 7);

  CFormDesignerDlg edited;
  edited.GetDocument().SetProfileColumns(kColumns);
  edited.GetDocument().BuildActionList(0);
  FormInfo& form = edited.GetDocument().GetFormInfo();
  form.FormID = 7;
  form.ProfileID = 3;
  form.SetFormName(QStringLiteral("Orders"));
  form.FormText = Rows(QStringLiteral("SELECT FormInfo FROM FormInfo WHERE FormID = 7")).value(0).value(0);
  std::vector<FormDetailsRow> rows;
  for (const QStringList& row : Rows(QStringLiteral("SELECT TabID, TabTitle, TabFormInfo FROM FormDetails WHERE FormID = 7 ORDER BY TabID")))
    rows.push_back({7, row[0].toInt(), row[1], row[2]});
  ASSERT_TRUE(edited.LoadFormTabs(rows));
  ASSERT_EQ(Save(edited, {true, 7, QStringLiteral("Orders"), kUser}), 8);

  EXPECT_EQ(Rows(QStringLiteral("SELECT ProfileID, FormTitle, FormInfo FROM FormInfo WHERE FormID = 8")),
            Rows(QStringLiteral("SELECT 3, 'Orders', '") + form.FormText.replace(u'\'', QStringLiteral("''")) +
                 QStringLiteral("'")));
  QList<QStringList> tabs = Rows(QStringLiteral("SELECT TabID, TabTitle, TabFormInfo FROM FormDetails WHERE FormID = 8 ORDER BY TabID"));
  ASSERT_EQ(tabs.size(), static_cast<qsizetype>(rows.size()));
  for (size_t i = 0; i < rows.size(); ++i)
    EXPECT_EQ(tabs[static_cast<qsizetype>(i)], (QStringList{QString::number(rows[i].TabID), rows[i].TabTitle, rows[i].TabFormInfo}));
  EXPECT_TRUE(Rows(QStringLiteral("SELECT * FROM FormInfo WHERE FormID = 7")).isEmpty());
  EXPECT_TRUE(Rows(QStringLiteral("SELECT * FROM FormDetails WHERE FormID = 7")).isEmpty());
  EXPECT_EQ(Rows(QStringLiteral("SELECT FormID, StatusFlag FROM UserFormStatus ORDER BY FormID")),
            (QList<QStringList>{{QStringLiteral("7"), QStringLiteral("D")}, {QStringLiteral("8"), QStringLiteral("A")}}));
}
