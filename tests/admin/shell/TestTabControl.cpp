#include "admin/shell/TabControl.h"

#include <gtest/gtest.h>

TEST(TabControl, TabsLineUpFromTheLeftAndTheFirstIsSelected) {
  QWidget parent;
  CTabControl strip(QRect(0, 0, 400, 30), &parent);
  EXPECT_EQ(strip.GetSelectedTab(), -1);
  strip.AddTab(QStringLiteral("One"));
  strip.AddTab(QStringLiteral("Two"));
  strip.AddTab(QStringLiteral("Three"));
  ASSERT_EQ(strip.GetTabCount(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(strip.GetTab(i)->geometry(), QRect(i * 100, 0, 100, 28)) << i;
  EXPECT_EQ(strip.GetTab(2)->GetWindowText(), QStringLiteral("Three"));
  EXPECT_EQ(strip.GetSelectedTab(), 0);
  EXPECT_FALSE(strip.GetTab(1)->IsSelected());
}

TEST(TabControl, SelectFirstTabLeavesOnlyTabZeroSelected) {
  QWidget parent;
  CTabControl strip(QRect(0, 0, 600, 30), &parent);
  EXPECT_EQ(strip.GetTabWidth(), 150);
  for (int i = 0; i < 3; ++i) strip.AddTab(QString::number(i));
  strip.GetTab(0)->SetSelected(false);
  strip.GetTab(2)->SetSelected(true);
  EXPECT_EQ(strip.GetSelectedTab(), 2);
  strip.SelectFirstTab();
  EXPECT_EQ(strip.GetSelectedTab(), 0);
  EXPECT_FALSE(strip.GetTab(2)->IsSelected());
}

TEST(TabControl, SelectedTabLooksSelected) {
  QWidget parent;
  CTabControl strip(QRect(0, 0, 400, 30), &parent);
  strip.AddTab(QString());
  strip.AddTab(QString());
  QImage image(strip.size(), QImage::Format_RGB32);
  strip.render(&image);
  EXPECT_EQ(image.pixelColor(50, 20), CTabButtonExG::SelectedColor());
  EXPECT_EQ(image.pixelColor(150, 20), CTabButtonExG::UnselectedColor());
}
