#include "admin/foundation/FormInfo.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QWidget>

namespace {

// Adds a control with a window of its own to the tab; returns a guard on that window.
QPointer<QWidget> AddControlWithWindow(FormTabInfo* tab, QWidget* parent = nullptr) {
  auto control = std::make_unique<FormControlInfo>();
  control->Type = kLabel;
  auto* window = new QWidget(parent);
  control->Window.Reset(window);
  tab->AddControl(std::move(control));
  return window;
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
  const QPointer<QWidget> window = AddControlWithWindow(form.GetTab(0));
  ASSERT_TRUE(form.RemoveFormTab(0));
  EXPECT_EQ(form.GetTabCount(), 2);
  EXPECT_EQ(form.GetTab(0)->TabIndex, 0);
  EXPECT_EQ(form.GetTab(1)->TabIndex, 1);
  EXPECT_EQ(Titles(form), (QStringList{QStringLiteral("Tab 1"), QStringLiteral("Tab 2")}));
  EXPECT_EQ(form.GetTab(2), nullptr) << "the last index went with the removed tab";
  EXPECT_TRUE(window.isNull()) << "the removed tab's windows go with it";
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
  const QPointer<QWidget> window = AddControlWithWindow(form.GetTab(1));

  ASSERT_TRUE(form.AddFormTab(1, QStringLiteral("replaced")));
  EXPECT_EQ(form.GetTabCount(), 2) << "replacing does not count";
  EXPECT_EQ(Titles(form), (QStringList{QStringLiteral("first"), QStringLiteral("replaced")}));
  EXPECT_EQ(form.GetTab(1)->GetControlCount(), 0);
  EXPECT_TRUE(window.isNull()) << "the replaced tab's windows are destroyed, not leaked";
  EXPECT_FALSE(form.AddFormTab(3, QStringLiteral("gap")));
}

TEST(FormTabInfo, RemovingControlsMovesTheLaterOnesDown) {
  FormTabInfo tab(0, QStringLiteral("Main"));
  QList<QPointer<QWidget>> windows;
  for (int i = 0; i < 3; ++i) windows << AddControlWithWindow(&tab);
  tab.GetControl(2)->Caption = QStringLiteral("third");
  ASSERT_TRUE(tab.RemoveControl(0));
  EXPECT_TRUE(windows[0].isNull());
  EXPECT_EQ(tab.GetControlCount(), 2);
  EXPECT_EQ(tab.GetControl(1)->Caption, QStringLiteral("third"));
  EXPECT_EQ(tab.GetControl(1)->Window.Get(), windows[2].data());
  EXPECT_FALSE(tab.RemoveControl(2));
}

TEST(FormTabInfo, RemovingTheLastControlLeavesAnEmptyTab) {
  FormInfo form;
  form.AddFormTab(0, QStringLiteral("Main"));
  const QPointer<QWidget> window = AddControlWithWindow(form.GetTab(0));
  ASSERT_TRUE(form.GetTab(0)->RemoveControl(0));
  EXPECT_EQ(form.GetTab(0)->GetControlCount(), 0);
  EXPECT_EQ(form.GetTabCount(), 1);
  EXPECT_TRUE(window.isNull());
}

TEST(FormInfo, DestroyingTheFormDestroysEveryControlWindow) {
  QList<QPointer<QWidget>> windows;
  {
    FormInfo form;
    for (int t = 0; t < 3; ++t) {
      form.AddFormTab(t, QString());
      for (int c = 0; c < 4; ++c) windows << AddControlWithWindow(form.GetTab(t));
    }
  }
  for (const QPointer<QWidget>& window : windows) EXPECT_TRUE(window.isNull());
}

TEST(FormInfo, WindowsAlreadyTakenByTheirParentAreNotDeletedTwice) {
  FormInfo form;
  form.AddFormTab(0, QString());
  auto* canvas = new QWidget;
  const QPointer<QWidget> window = AddControlWithWindow(form.GetTab(0), canvas);
  delete canvas;  // takes its child windows along
  EXPECT_TRUE(window.isNull());
  EXPECT_TRUE(form.GetTab(0)->RemoveControl(0));  // the sanitizer build catches a double delete
}
