#include "admin/shell/TabControl.h"
#include "tests/support/ImageProbe.h"

#include <gtest/gtest.h>

#include <QImage>

using testsupport::Holds;

namespace {

QImage Render(QWidget& widget) {
  QImage image(widget.size(), QImage::Format_RGB32);
  widget.render(&image);
  return image;
}

}  // namespace

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

// The tab pictures are ours to draw, so the selected one is told apart by comparison; what
// the design names is checked by value: the white title, the strip's own colour beside the tabs
// and the magenta key, which never shows.
TEST(TabControl, SelectedTabLooksSelected) {
  const QColor stripColour(197, 204, 212);
  const QColor titleColour(255, 255, 255);
  const QColor keyColour(255, 0, 255);
  QWidget parent;
  CTabControl strip(QRect(0, 0, 400, 30), &parent);
  strip.SetBackgroundColor(stripColour);
  strip.AddTab(QStringLiteral("WWW"));
  strip.AddTab(QStringLiteral("WWW"));
  const QPoint inFirst(90, 20);  // inside each tab's picture, right of its title
  const QPoint inSecond(190, 20);

  const QImage firstSelected = Render(strip);
  EXPECT_NE(firstSelected.pixelColor(inFirst), firstSelected.pixelColor(inSecond));
  EXPECT_EQ(firstSelected.pixelColor(350, 15), stripColour);
  EXPECT_TRUE(Holds(firstSelected, QRect(0, 0, 100, 28), titleColour)) << "title of the selected tab";
  EXPECT_TRUE(Holds(firstSelected, QRect(100, 0, 100, 28), titleColour)) << "title of the other tab";
  EXPECT_FALSE(Holds(firstSelected, firstSelected.rect(), keyColour));

  strip.GetTab(0)->SetSelected(false);
  strip.GetTab(1)->SetSelected(true);
  const QImage secondSelected = Render(strip);
  EXPECT_EQ(secondSelected.pixelColor(inSecond), firstSelected.pixelColor(inFirst)) << "the selected look moves";
  EXPECT_EQ(secondSelected.pixelColor(inFirst), firstSelected.pixelColor(inSecond));
}
