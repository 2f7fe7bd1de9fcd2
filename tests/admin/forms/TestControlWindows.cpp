#include "admin/forms/ControlWindows.h"
#include "admin/foundation/FormTabInfo.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QWidget>

namespace {

// Adds a label to the tab and gives it a window of its own; returns a guard on that window.
QPointer<QWidget> AddControlWithWindow(ControlWindows* windows, FormTabInfo* tab, QWidget* parent = nullptr) {
  auto control = std::make_unique<FormControlInfo>();
  control->Type = kLabel;
  auto* window = new QWidget(parent);
  windows->Place(*control, window);
  tab->AddControl(std::move(control));
  return window;
}

}  // namespace

TEST(ControlWindows, DroppingAControlDestroysOnlyItsWindow) {
  ControlWindows windows;
  FormTabInfo tab(0, QStringLiteral("Main"));
  const QPointer<QWidget> first = AddControlWithWindow(&windows, &tab);
  const QPointer<QWidget> second = AddControlWithWindow(&windows, &tab);
  EXPECT_EQ(windows.Get(*tab.GetControl(1)), second.data());
  windows.Drop(*tab.GetControl(0));
  EXPECT_TRUE(first.isNull());
  EXPECT_EQ(windows.Get(*tab.GetControl(0)), nullptr);
  EXPECT_EQ(windows.Get(*tab.GetControl(1)), second.data());
}

TEST(ControlWindows, PlacingAgainReplacesAndDestroysTheOldWindow) {
  ControlWindows windows;
  FormControlInfo control;
  const QPointer<QWidget> old = new QWidget;
  windows.Place(control, old);
  auto* replacement = new QWidget;
  windows.Place(control, replacement);
  EXPECT_TRUE(old.isNull());
  EXPECT_EQ(windows.Get(control), replacement);
}

TEST(ControlWindows, DroppingATabDestroysTheWindowsOfItsControlsOnly) {
  ControlWindows windows;
  FormTabInfo dropped(0, QString());
  FormTabInfo kept(1, QString());
  QList<QPointer<QWidget>> gone;
  for (int c = 0; c < 3; ++c) gone << AddControlWithWindow(&windows, &dropped);
  const QPointer<QWidget> stays = AddControlWithWindow(&windows, &kept);
  windows.DropTab(dropped);
  for (const QPointer<QWidget>& window : gone) EXPECT_TRUE(window.isNull());
  EXPECT_FALSE(stays.isNull());
}

TEST(ControlWindows, DestroyingTheMapDestroysEveryControlWindow) {
  QList<QPointer<QWidget>> created;
  FormTabInfo tab(0, QString());
  {
    ControlWindows windows;
    for (int c = 0; c < 4; ++c) created << AddControlWithWindow(&windows, &tab);
  }
  for (const QPointer<QWidget>& window : created) EXPECT_TRUE(window.isNull());
}

TEST(ControlWindows, WindowsAlreadyTakenByTheirParentAreNotDeletedTwice) {
  ControlWindows windows;
  FormTabInfo tab(0, QString());
  auto* canvas = new QWidget;
  const QPointer<QWidget> window = AddControlWithWindow(&windows, &tab, canvas);
  delete canvas;  // takes its child windows along
  EXPECT_TRUE(window.isNull());
  EXPECT_EQ(windows.Get(*tab.GetControl(0)), nullptr);
  windows.Drop(*tab.GetControl(0));  // the sanitizer build catches a double delete
}
