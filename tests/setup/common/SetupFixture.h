#pragma once

#include "setup/common/SetupLog.h"
#include "setup/common/SetupProgress.h"
#include "tests/support/AdminServiceDouble.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/WebServiceDouble.h"

#include <gtest/gtest.h>

#include <QList>
#include <QStringList>

namespace setuptest {

// Keeps what a setup step showed: its progress steps and status texts.
class RecordedProgress : public SetupProgress {
 public:
  void StepProgress(int steps) override { steps_.append(steps); }
  void SetStatusText(const QString& text) override { statusTexts_.append(text); }
  void PumpWaitingMessages() override {}

  QList<int> steps_;
  QStringList statusTexts_;
};

// Both hosted services' doubles, the log lines of the step under test and the boxes it showed.
class SetupServicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(web_.Started()) << web_.Error().toStdString();
    ASSERT_TRUE(admin_.Started()) << admin_.Error().toStdString();
    admin_.SetWebServiceUrl(web_.Url(QStringLiteral("/svc/service.asmx")));
    testsupport::MessageBoxRecorder::Global().Clear();
  }

  SetupLogSink Sink() {
    return [this](const QString& text) { lines_.append(text); };
  }
  bool Logged(const QString& line) const { return lines_.contains(line); }
  bool LoggedStart(const QString& start) const {
    for (const QString& line : lines_) {
      if (line.startsWith(start)) return true;
    }
    return false;
  }
  static const QList<platform::MessageBoxRequest>& Boxes() { return testsupport::MessageBoxRecorder::Global().shown(); }

  testsupport::WebServiceDouble web_;
  testsupport::AdminServiceDouble admin_;
  QStringList lines_;
  RecordedProgress progress_;
};

}  // namespace setuptest
