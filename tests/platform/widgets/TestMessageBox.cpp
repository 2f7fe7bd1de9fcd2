#include "platform/widgets/MessageBox.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

using namespace platform;
using testsupport::MessageBoxRecorder;

TEST(MessageBox, TheHandlerSeesTextCaptionAndIconAndAnswers) {
  MessageBoxRecorder& recorder = MessageBoxRecorder::Global();
  recorder.Clear();
  recorder.ScriptAnswers({IDNO});
  EXPECT_EQ(MessageBox(nullptr, QStringLiteral("Delete?"), QStringLiteral("Tarnwick Plus Lite"),
                       MB_YESNO | MB_ICONQUESTION),
            IDNO);
  EXPECT_EQ(MessageBox(nullptr, QStringLiteral("Failed."), QStringLiteral("Tarnwick Plus Lite"),
                       MB_OK | MB_ICONERROR),
            IDOK);
  ASSERT_EQ(recorder.shown().size(), 2);
  EXPECT_EQ(recorder.shown()[0].text, QStringLiteral("Delete?"));
  EXPECT_EQ(recorder.shown()[0].icon(), MB_ICONQUESTION);
  EXPECT_EQ(recorder.shown()[1].caption, QStringLiteral("Tarnwick Plus Lite"));
  EXPECT_EQ(recorder.shown()[1].icon(), MB_ICONERROR);
  recorder.Clear();
}
