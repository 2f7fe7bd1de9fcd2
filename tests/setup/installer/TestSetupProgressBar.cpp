#include "setup/common/SetupProgressBar.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>

namespace {

class SetupProgressBarTest : public ::testing::Test {
 protected:
  QProgressBar widget_;
  QLabel status_;
  int pumps_ = 0;
};

TEST_F(SetupProgressBarTest, StepsClampToTheRangeWrapPast254AndShowTheStatusText) {
  widget_.setRange(0, 100);
  widget_.setValue(40);
  SetupProgressBar bar(&widget_, &status_, [this] { ++pumps_; });
  EXPECT_EQ(widget_.minimum(), 0);
  EXPECT_EQ(widget_.maximum(), 255);
  EXPECT_EQ(bar.Position(), 0);

  const struct {
    int from;
    int steps;
    int to;
  } cases[] = {
      {0, 10, 10},    {250, 10, 255}, {255, 5, 5},  {254, 5, 255},
      {5, -10, 0},    {100, -10, 90}, {255, -10, 0}, {0, 300, 255},
  };
  for (const auto& c : cases) {
    bar.SetPosition(c.from);
    bar.StepProgress(c.steps);
    EXPECT_EQ(bar.Position(), c.to) << c.from << " + " << c.steps;
  }
  bar.SetPosition(-3);
  EXPECT_EQ(bar.Position(), 0);
  bar.SetPosition(999);
  EXPECT_EQ(bar.Position(), 255);

  bar.SetStatusText(QStringLiteral("Copying Files..."));
  EXPECT_EQ(status_.text(), QString()) << "a status text waits for the next step";
  bar.StepProgress(10);
  EXPECT_EQ(status_.text(), QStringLiteral("Copying Files..."));
  bar.SetStatusText(QStringLiteral("Problem while installing Tarnwick Plus Lite"));
  bar.ShowStatusText();
  EXPECT_EQ(status_.text(), QStringLiteral("Problem while installing Tarnwick Plus Lite"));
  bar.PumpWaitingMessages();
  EXPECT_EQ(pumps_, 1);
}

TEST_F(SetupProgressBarTest, RunUpAndRunDownEndEvenWhereTheirStepWouldBeZero) {
  SetupProgressBar bar(&widget_, &status_, [this] { ++pumps_; });
  const struct {
    int from;
    int pumps;
    int end;
  } ups[] = {{0, 250, 250}, {9, 241, 250}, {100, 15, 250}, {245, 1, 255}, {252, 0, 252}};
  for (const auto& c : ups) {
    bar.SetPosition(c.from);
    pumps_ = 0;
    bar.RunUp(0);
    EXPECT_EQ(pumps_, c.pumps) << c.from;
    EXPECT_EQ(bar.Position(), c.end) << c.from;
  }
  const struct {
    int from;
    int pumps;
    int end;
  } downs[] = {{101, 50, 1}, {100, 50, 0}, {1, 0, 1}, {255, 127, 1}};
  for (const auto& c : downs) {
    bar.SetPosition(c.from);
    pumps_ = 0;
    bar.RunDown(0);
    EXPECT_EQ(pumps_, c.pumps) << c.from;
    EXPECT_EQ(bar.Position(), c.end) << c.from;
  }
}

}  // namespace
