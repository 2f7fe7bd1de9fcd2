#include "setup/common/SetupProgressBar.h"

#include <gtest/gtest.h>

#include <QProgressBar>

namespace {

TEST(SetupProgressBar, ClampsToItsRangeAndWrapsPast254) {
  QProgressBar widget;
  widget.setRange(0, 100);
  widget.setValue(40);
  SetupProgressBar bar(&widget);
  EXPECT_EQ(widget.minimum(), 0);
  EXPECT_EQ(widget.maximum(), 255);
  EXPECT_EQ(bar.Position(), 0);

  const struct {
    int from;
    int steps;
    int to;
  } cases[] = {
      {0, 10, 10},  {250, 10, 255}, {255, 5, 5},  {254, 5, 255}, {5, -10, 0},
      {100, -10, 90}, {255, -10, 0},  {0, 300, 255},
  };
  for (const auto& c : cases) {
    bar.SetPosition(c.from);
    bar.Step(c.steps);
    EXPECT_EQ(bar.Position(), c.to) << c.from << " + " << c.steps;
  }
  bar.SetPosition(-3);
  EXPECT_EQ(bar.Position(), 0);
  bar.SetPosition(999);
  EXPECT_EQ(bar.Position(), 255);
}

TEST(SetupProgressBar, RunUpAndRunDownEndEvenWhereTheirStepWouldBeZero) {
  QProgressBar widget;
  SetupProgressBar bar(&widget);
  const struct {
    int from;
    int pauses;
    int end;
  } ups[] = {{0, 250, 250}, {9, 241, 250}, {100, 15, 250}, {245, 1, 255}, {252, 0, 252}};
  for (const auto& c : ups) {
    bar.SetPosition(c.from);
    int pauses = 0;
    bar.RunUp([&pauses] { ++pauses; });
    EXPECT_EQ(pauses, c.pauses) << c.from;
    EXPECT_EQ(bar.Position(), c.end) << c.from;
  }
  const struct {
    int from;
    int pauses;
    int end;
  } downs[] = {{101, 50, 1}, {100, 50, 0}, {1, 0, 1}, {255, 127, 1}};
  for (const auto& c : downs) {
    bar.SetPosition(c.from);
    int pauses = 0;
    bar.RunDown([&pauses] { ++pauses; });
    EXPECT_EQ(pauses, c.pauses) << c.from;
    EXPECT_EQ(bar.Position(), c.end) << c.from;
  }
}

}  // namespace
