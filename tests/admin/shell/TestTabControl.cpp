#include "admin/shell/Bitmaps.h"
#include "admin/shell/TabControl.h"
#include "tests/support/ImageProbe.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <vector>

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

namespace {

struct StripState {
  std::vector<int> ids;
  std::vector<QString> titles;
  std::vector<int> lefts;
  int selected;
};

StripState StateOf(const CTabControl& strip) {
  StripState state{{}, {}, {}, strip.GetSelectedTab()};
  for (int i = 0; i < strip.GetTabCount(); ++i) {
    state.ids.push_back(strip.GetTabId(i));
    state.titles.push_back(strip.GetTab(i)->GetWindowText());
    state.lefts.push_back(strip.GetTab(i)->geometry().left());
  }
  return state;
}

}  // namespace

// Three tabs with identifiers 0, 1, 2 to start from; each case changes them and states the
// strip that must result. Indexes outside the strip change nothing.
TEST(TabControl, RemovingRenamingAndIdentifiers) {
  struct Case {
    const char* name;
    std::function<void(CTabControl&)> change;
    std::vector<int> ids;
    std::vector<QString> titles;
    int selected;
  };
  const QString a = QStringLiteral("A"), b = QStringLiteral("B"), c = QStringLiteral("C"), d = QStringLiteral("D");
  const Case cases[] = {
      {"remove the middle tab, add one", [](CTabControl& s) { s.RemoveTab(1); s.AddTab(QStringLiteral("D")); },
       {0, 2, 3}, {a, c, d}, 0},
      {"remove the selected tab", [](CTabControl& s) { s.RemoveTab(0); }, {1, 2}, {b, c}, -1},
      {"remove every tab, add one", [](CTabControl& s) { for (int i = 0; i < 3; ++i) s.RemoveTab(0); s.AddTab(QStringLiteral("D")); },
       {3}, {d}, 0},
      {"remove index -1", [](CTabControl& s) { s.RemoveTab(-1); }, {0, 1, 2}, {a, b, c}, 0},
      {"remove index 3", [](CTabControl& s) { s.RemoveTab(3); }, {0, 1, 2}, {a, b, c}, 0},
      {"rename tab 2", [](CTabControl& s) { s.SetTabTitle(2, QStringLiteral("D")); }, {0, 1, 2}, {a, b, d}, 0},
      {"rename index -1", [](CTabControl& s) { s.SetTabTitle(-1, QStringLiteral("D")); }, {0, 1, 2}, {a, b, c}, 0},
      {"rename index 3", [](CTabControl& s) { s.SetTabTitle(3, QStringLiteral("D")); }, {0, 1, 2}, {a, b, c}, 0},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    QWidget parent;
    CTabControl strip(QRect(0, 0, 400, 30), &parent);
    for (const QString& title : {a, b, c}) strip.AddTab(title);
    test.change(strip);
    const StripState state = StateOf(strip);
    EXPECT_EQ(state.ids, test.ids);
    EXPECT_EQ(state.titles, test.titles);
    EXPECT_EQ(state.selected, test.selected);
    for (size_t i = 0; i < state.lefts.size(); ++i) EXPECT_EQ(state.lefts[i], static_cast<int>(i) * 100) << i;
  }
}

// The owner hears of a click with the tab's identifier, once the strip shows the tab selected.
TEST(TabControl, AClickMarksTheTabThenTellsTheOwner) {
  QWidget parent;
  CTabControl strip(QRect(0, 0, 400, 30), &parent);
  for (const char* title : {"A", "B", "C"}) strip.AddTab(QString::fromLatin1(title));
  strip.RemoveTab(1);
  strip.AddTab(QStringLiteral("D"));
  parent.show();
  std::vector<int> selectedWhenTold;
  QObject::connect(&strip, &CTabControl::TabSelChange, &strip,
                   [&](int) { selectedWhenTold.push_back(strip.GetSelectedTab()); });
  QSignalSpy told(&strip, &CTabControl::TabSelChange);
  QTest::mouseClick(strip.GetTab(2), Qt::LeftButton);
  ASSERT_EQ(told.count(), 1);
  EXPECT_EQ(told.first().first().toInt(), 3);
  EXPECT_EQ(selectedWhenTold, std::vector<int>{2});
  EXPECT_EQ(strip.GetTab(2)->geometry().left(), 200);
  strip.SelectFirstTab();
  strip.AddTab(QStringLiteral("E"));
  EXPECT_EQ(told.count(), 1) << "selecting by code tells nobody";
}

// A tab is its picture stretched over the button, the title white and 3 pixels in from the
// left; the picture's magenta never shows.
TEST(TabControl, TabsPaintTheirPictureAndAnInsetWhiteTitle) {
  QWidget parent;
  CTabControl strip(QRect(0, 0, 400, 30), &parent);
  strip.SetBackgroundColor(QColor(197, 204, 212));
  strip.AddTab(QStringLiteral("WWW"));
  strip.AddTab(QStringLiteral("WWW"));
  const QImage image = Render(strip);
  const auto pictureAt = [](int bitmap, int y) {
    const QImage picture = LoadBitmap(bitmap);
    return picture.pixelColor(picture.width() / 2, (2 * y + 1) * picture.height() / (2 * 28));
  };
  for (int y : {4, 14, 26}) {
    EXPECT_EQ(image.pixelColor(90, y), pictureAt(CTabButtonExG::kSelectedBitmap, y)) << y;
    EXPECT_EQ(image.pixelColor(190, y), pictureAt(CTabButtonExG::kUnselectedBitmap, y)) << y;
  }
  const QColor white(255, 255, 255);
  EXPECT_FALSE(Holds(image, QRect(0, 0, 3, 28), white));
  EXPECT_TRUE(Holds(image, QRect(3, 0, 30, 28), white));
  EXPECT_FALSE(Holds(image, QRect(100, 0, 3, 28), white));
  EXPECT_TRUE(Holds(image, QRect(103, 0, 30, 28), white));
  EXPECT_FALSE(Holds(image, image.rect(), QColor(255, 0, 255)));
  EXPECT_EQ(image.pixelColor(0, 0), QColor(197, 204, 212)) << "the strip shows through the rounded corner";
}

TEST(TabControl, FontSizeFollowsThePoints) {
  QWidget parent;
  CTabControl strip(QRect(0, 0, 400, 30), &parent);
  strip.AddTab(QStringLiteral("A"));
  strip.AddTab(QStringLiteral("B"));
  strip.SetTabFontSize(12);
  const int dpi = qRound(strip.GetTab(1)->screen()->logicalDotsPerInchY());
  for (int i = 0; i < 2; ++i) {
    const QFont font = strip.GetTab(i)->font();
    EXPECT_EQ(font.pixelSize(), (12 * dpi + 36) / 72);
    EXPECT_EQ(font.family(), QStringLiteral("Verdana"));
    EXPECT_EQ(font.weight(), QFont::Bold);
  }
}
