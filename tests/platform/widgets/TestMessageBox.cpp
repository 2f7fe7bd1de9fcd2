#include "platform/widgets/MessageBox.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

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

// The switch a real program runs under in tests: no handler, the answers from a file, every box
// in the transcript. The only case of this program that takes answers from the file.
TEST(MessageBox, TheEnvironmentSwitchAnswersFromTheScriptAndWritesTheTranscript) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  QFile answers(folder.filePath(QStringLiteral("answers")));
  ASSERT_TRUE(answers.open(QIODevice::WriteOnly));
  answers.write("7\n2\n");
  answers.close();
  const QString transcript = folder.filePath(QStringLiteral("transcript.jsonl"));
  qputenv(kMessageBoxAnswersVariable, answers.fileName().toUtf8());
  qputenv(kMessageBoxTranscriptVariable, transcript.toUtf8());
  SetMessageBoxHandler({});
  const QString caption = QStringLiteral("Tarnwick Plus Lite");
  const int first =
      MessageBox(nullptr, QStringLiteral("Delete?"), caption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
  const int second = MessageBox(nullptr, QStringLiteral("Line one\nline \"two\""), caption, MB_OKCANCEL);
  const int third = MessageBox(nullptr, QStringLiteral("Again?"), caption, MB_YESNO);
  const int fourth = MessageBox(nullptr, QStringLiteral("Failed."), caption, MB_ICONERROR);
  MessageBoxRecorder::InstallGlobal();
  qunsetenv(kMessageBoxAnswersVariable);
  qunsetenv(kMessageBoxTranscriptVariable);
  EXPECT_EQ(first, IDNO);
  EXPECT_EQ(second, IDCANCEL);
  EXPECT_EQ(third, IDYES) << "past the script's end";
  EXPECT_EQ(fourth, IDOK);

  QFile written(transcript);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  QList<QByteArray> lines = written.readAll().split('\n');
  ASSERT_EQ(lines.size(), 5);
  EXPECT_TRUE(lines[4].isEmpty());
  EXPECT_EQ(QJsonDocument::fromJson(lines[0]).object()[QStringLiteral("defaultButton")].toInt(),
            static_cast<int>(MB_DEFBUTTON2));
  const QJsonObject box = QJsonDocument::fromJson(lines[1]).object();
  EXPECT_EQ(box[QStringLiteral("defaultButton")].toInt(), 0);
  EXPECT_EQ(box[QStringLiteral("caption")].toString(), caption);
  EXPECT_EQ(box[QStringLiteral("text")].toString(), QStringLiteral("Line one\nline \"two\""));
  EXPECT_EQ(box[QStringLiteral("buttons")].toInt(), static_cast<int>(MB_OKCANCEL));
  EXPECT_EQ(box[QStringLiteral("answer")].toInt(), IDCANCEL);
  const QJsonObject last = QJsonDocument::fromJson(lines[3]).object();
  EXPECT_EQ(last[QStringLiteral("icon")].toInt(), static_cast<int>(MB_ICONERROR));
  EXPECT_EQ(last[QStringLiteral("answer")].toInt(), IDOK);
}

// A yes/no box whose default is No shows No as the default button; Enter answers No.
TEST(MessageBox, TheDialogOfABoxWithTheSecondDefaultButtonDefaultsToNo) {
  SetMessageBoxHandler({});
  bool defaultIsNo = false;
  QTimer::singleShot(0, [&defaultIsNo] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    defaultIsNo = box->defaultButton() == box->button(QMessageBox::No);
    box->defaultButton()->click();
  });
  const int answer = MessageBox(nullptr, QStringLiteral("Remove?"), QStringLiteral("Tarnwick Plus Lite"),
                                MB_YESNO | MB_DEFBUTTON2);
  MessageBoxRecorder::InstallGlobal();
  EXPECT_TRUE(defaultIsNo);
  EXPECT_EQ(answer, IDNO);
}
