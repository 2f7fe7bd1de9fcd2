#pragma once

#include "admin/shell/HelpBalloon.h"
#include "tests/support/DialogControls.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QList>
#include <QPoint>
#include <QWidget>

namespace formtests {

// The control of a dialog by its identifier.
using testsupport::Control;

using testsupport::OpenedBalloon;

// Records the message boxes and the balloons the designer's dialogs open instead of showing them.
class FormDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Boxes().Clear();
    Boxes().ScriptAnswers({});
    SetHelpBalloonOpener([this](int topic, QPoint position) { m_balloons.append({topic, position}); });
  }
  void TearDown() override { SetHelpBalloonOpener({}); }

  static testsupport::MessageBoxRecorder& Boxes() { return testsupport::MessageBoxRecorder::Global(); }
  // The text of the only box shown since the last call, which forgets it; empty when none was.
  static QString TakeBox(unsigned icon) {
    if (Boxes().shown().isEmpty()) return {};
    EXPECT_EQ(Boxes().shown().size(), 1);
    const platform::MessageBoxRequest box = Boxes().shown().front();
    EXPECT_EQ(box.caption, QStringLiteral("Tarnwick Plus Lite"));
    EXPECT_EQ(box.icon(), icon) << box.text.toStdString();
    Boxes().Clear();
    return box.text;
  }

  // The Help button opens the topic's balloon 150 pixels left of it and 20 below its top.
  void ExpectHelp(QAbstractButton* help, int topic) {
    m_balloons.clear();
    help->click();
    ASSERT_EQ(m_balloons.size(), 1);
    EXPECT_EQ(m_balloons[0].topic, topic);
    EXPECT_EQ(m_balloons[0].position, help->mapToGlobal(QPoint(0, 0)) + QPoint(-150, 20));
  }

  QList<OpenedBalloon> m_balloons;
};

}  // namespace formtests
