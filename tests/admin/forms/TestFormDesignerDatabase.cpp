#include "admin/forms/FormDesignerDlg.h"
#include "admin/shell/TabControl.h"
#include "admin/shell/TarnwickApp.h"
#include "admin/shell/TarnwickDlg.h"
#include "tests/admin/shell/MainDialogClosesAtOnce.h"
#include "tests/support/AdminInstallation.h"
#include "tests/support/LogReader.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

QString Quoted(QString text) { return u'\'' + text.replace(u'\'', QStringLiteral("''")) + u'\''; }

// A tab of one label whose caption is `caption`, as the designer writes it.
QString LabelTab(const QString& caption) {
  return QStringLiteral("<TabInfo><NumOfCtrls>1</NumOfCtrls><ControlInfo><X>0</X><Y>40</Y><Width>70</Width>"
                        "<Height>25</Height><FontFace>0</FontFace><FontSize>10</FontSize><FontStyle>0</FontStyle>"
                        "<TxtR>0</TxtR><TxtG>0</TxtG><TxtB>0</TxtB><Visible>1</Visible><Type>1</Type><Caption>") +
         caption + QStringLiteral("</Caption><AlignText>0</AlignText></ControlInfo></TabInfo>");
}

class DesignerDatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_installation = testsupport::InstallAdmin();
    testsupport::InstallSettingsDatabase(m_installation);
    m_app = std::make_unique<CTarnwickApp>();
    m_app->InitInstance();
    ASSERT_TRUE(m_app->GetSettingsConnection().IsConnected());
  }

  void StoreTab(int formId, int tabId, const QString& title, const QString& text) {
    const QString sql = QStringLiteral("Insert into  FormDetails (FormID, TabID, TabTitle, TabFormInfo) values(%1 , %2, %3, %4)")
                            .arg(QString::number(formId), QString::number(tabId), Quoted(title), Quoted(text));
    ASSERT_TRUE(SQL_SUCCEEDED(m_app->GetSettingsConnection().ExecuteStatement(sql)));
  }

  QString m_installation;
  std::unique_ptr<CTarnwickApp> m_app;
};

}  // namespace

TEST_F(DesignerDatabaseTest, StoredTabsAreReadInTabOrderAndWhole) {
  const QString longCaption(300000, u'x');  // longer than any fixed buffer a tab text was read into
  StoreTab(7, 2, QStringLiteral("Notes"), LabelTab(QStringLiteral("third")));
  StoreTab(7, 0, QStringLiteral("O'Brien's tab"), LabelTab(QStringLiteral("first 'quoted'")));
  StoreTab(7, 1, QStringLiteral("Long"), LabelTab(longCaption));
  StoreTab(8, 0, QStringLiteral("Other form"), LabelTab(QStringLiteral("not this one")));

  CFormDesignerDlg designer;
  designer.GetDocument().GetFormInfo().FormID = 7;
  designer.GetDocument().GetFormInfo().FormText = QStringLiteral("<NumOfGrp>0</NumOfGrp><Height>500</Height><Width>324</Width>"
                                                   "<FontSize>12</FontSize><R>1</R><G>2</G><B>3</B>"
                                                   "<NumOfFldDefVal>0</NumOfFldDefVal>");
  ASSERT_TRUE(designer.LoadFormTabs());
  const FormInfo& form = designer.GetDocument().GetFormInfo();
  ASSERT_EQ(form.GetTabCount(), 3);
  EXPECT_EQ(form.GetTab(0)->GetFormTabTitle(), QStringLiteral("O'Brien's tab"));
  EXPECT_EQ(form.GetTab(0)->GetControl(0)->Caption, QStringLiteral("first 'quoted'"));
  EXPECT_EQ(form.GetTab(1)->GetControl(0)->Caption.size(), longCaption.size());
  EXPECT_EQ(form.GetTab(2)->GetControl(0)->Caption, QStringLiteral("third"));
  EXPECT_EQ(form.FontSize, 12);
  EXPECT_EQ(designer.GetTabControl()->GetTabCount(), 3);
  EXPECT_EQ(designer.GetTabControl()->GetSelectedTab(), 0);
}

TEST_F(DesignerDatabaseTest, WithoutTheSettingsConnectionNothingIsLoaded) {
  m_app->GetSettingsConnection().DisconnectDataSource();
  CFormDesignerDlg designer;
  designer.GetDocument().GetFormInfo().FormID = 7;
  EXPECT_FALSE(designer.LoadFormTabs());
  EXPECT_EQ(designer.GetDocument().GetFormInfo().GetTabCount(), 0);
  const auto log = testsupport::ReadLogEntries(testsupport::TodaysAdminLog(m_installation));
  EXPECT_FALSE(testsupport::EntriesContaining(log, QStringLiteral("The settings database is not connected.")).isEmpty());
}
