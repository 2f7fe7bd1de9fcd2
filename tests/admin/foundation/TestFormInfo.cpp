#include "admin/foundation/FormInfo.h"

#include <gtest/gtest.h>

namespace {

// Adds a label captioned `caption` to the tab.
void AddLabel(FormTabInfo* tab, const QString& caption = QString()) {
  auto control = std::make_unique<FormControlInfo>();
  control->Type = kLabel;
  control->Caption = caption;
  tab->AddControl(std::move(control));
}

QStringList Titles(const FormInfo& form) {
  QStringList titles;
  for (int i = 0; i < form.GetTabCount(); ++i) titles << form.GetTab(i)->GetFormTabTitle();
  return titles;
}

}  // namespace

TEST(FormInfo, RemovingTabZeroOfThreeRenumbersTheOthers) {
  FormInfo form;
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(form.AddFormTab(i, QStringLiteral("Tab %1").arg(i)));
  AddLabel(form.GetTab(0));
  ASSERT_TRUE(form.RemoveFormTab(0));
  EXPECT_EQ(form.GetTabCount(), 2);
  EXPECT_EQ(form.GetTab(0)->TabIndex, 0);
  EXPECT_EQ(form.GetTab(1)->TabIndex, 1);
  EXPECT_EQ(Titles(form), (QStringList{QStringLiteral("Tab 1"), QStringLiteral("Tab 2")}));
  EXPECT_EQ(form.GetTab(2), nullptr) << "the last index went with the removed tab";
  EXPECT_FALSE(form.RemoveFormTab(2));
  EXPECT_FALSE(form.RemoveFormTab(-1));
}

TEST(FormInfo, AddFormTabAppendsOrReplacesButNeverLeavesAGap) {
  FormInfo form;
  EXPECT_FALSE(form.AddFormTab(1, QStringLiteral("gap")));
  EXPECT_FALSE(form.AddFormTab(-1, QStringLiteral("negative")));
  EXPECT_EQ(form.GetTabCount(), 0);
  EXPECT_EQ(form.GetTab(0), nullptr);
  ASSERT_TRUE(form.AddFormTab(0, QStringLiteral("first")));
  ASSERT_TRUE(form.AddFormTab(1, QStringLiteral("second")));
  AddLabel(form.GetTab(1));

  ASSERT_TRUE(form.AddFormTab(1, QStringLiteral("replaced")));
  EXPECT_EQ(form.GetTabCount(), 2) << "replacing does not count";
  EXPECT_EQ(Titles(form), (QStringList{QStringLiteral("first"), QStringLiteral("replaced")}));
  EXPECT_EQ(form.GetTab(1)->GetControlCount(), 0);
  EXPECT_FALSE(form.AddFormTab(3, QStringLiteral("gap")));
}

TEST(FormTabInfo, RemovingControlsMovesTheLaterOnesDown) {
  FormTabInfo tab(0, QStringLiteral("Main"));
  for (const QString& caption : {QStringLiteral("first"), QStringLiteral("second"), QStringLiteral("third")})
    AddLabel(&tab, caption);
  ASSERT_TRUE(tab.RemoveControl(0));
  EXPECT_EQ(tab.GetControlCount(), 2);
  EXPECT_EQ(tab.GetControl(0)->Caption, QStringLiteral("second"));
  EXPECT_EQ(tab.GetControl(1)->Caption, QStringLiteral("third"));
  EXPECT_FALSE(tab.RemoveControl(2));
}

TEST(FormTabInfo, RemovingTheLastControlLeavesAnEmptyTab) {
  FormInfo form;
  form.AddFormTab(0, QStringLiteral("Main"));
  AddLabel(form.GetTab(0));
  ASSERT_TRUE(form.GetTab(0)->RemoveControl(0));
  EXPECT_EQ(form.GetTab(0)->GetControlCount(), 0);
  EXPECT_EQ(form.GetTabCount(), 1);
}
