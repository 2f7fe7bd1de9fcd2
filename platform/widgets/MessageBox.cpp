#include "platform/widgets/MessageBox.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QMessageBox>

#include <mutex>

namespace platform {
namespace {

std::mutex handlerMutex;
MessageBoxHandler installedHandler;

QMessageBox::Icon IconOf(unsigned icon) {
  switch (icon) {
    case MB_ICONERROR: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONWARNING: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

QMessageBox::StandardButtons ButtonsOf(unsigned buttons) {
  switch (buttons) {
    case MB_OKCANCEL: return QMessageBox::Ok | QMessageBox::Cancel;
    case MB_YESNOCANCEL: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MB_YESNO: return QMessageBox::Yes | QMessageBox::No;
    default: return QMessageBox::Ok;
  }
}

int AnswerOf(int button) {
  switch (button) {
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    case QMessageBox::Cancel: return IDCANCEL;
    default: return IDOK;
  }
}

int ShowDialog(QWidget* parent, const MessageBoxRequest& request) {
  QMessageBox box(IconOf(request.icon()), request.caption, request.text,
                  ButtonsOf(request.buttons()), parent);
  if (request.defaultButton() == MB_DEFBUTTON2 && request.buttons() == MB_YESNO) box.setDefaultButton(QMessageBox::No);
  return AnswerOf(box.exec());
}

// The scripted answers, read once at the first scripted box of the process.
class AnswerScript {
 public:
  int Next(const MessageBoxRequest& request) {
    std::lock_guard lock(mutex_);
    if (!loaded_) Load();
    if (!answers_.isEmpty()) return answers_.takeFirst();
    const unsigned buttons = request.buttons();
    return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDYES : IDOK;
  }

 private:
  void Load() {
    loaded_ = true;
    QFile file(qEnvironmentVariable(kMessageBoxAnswersVariable));
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly)) return;
    for (const QByteArray& line : file.readAll().split('\n')) {
      bool number = false;
      const int answer = line.trimmed().toInt(&number);
      if (number) answers_.append(answer);
    }
  }

  std::mutex mutex_;
  bool loaded_ = false;
  QList<int> answers_;
};

int AnswerFromScript(const QString& transcriptPath, const MessageBoxRequest& request) {
  static AnswerScript script;
  const int answer = script.Next(request);
  const QJsonObject entry{{QStringLiteral("caption"), request.caption},
                          {QStringLiteral("text"), request.text},
                          {QStringLiteral("icon"), static_cast<int>(request.icon())},
                          {QStringLiteral("buttons"), static_cast<int>(request.buttons())},
                          {QStringLiteral("defaultButton"), static_cast<int>(request.defaultButton())},
                          {QStringLiteral("answer"), answer}};
  QFile transcript(transcriptPath);
  if (transcript.open(QIODevice::WriteOnly | QIODevice::Append))
    transcript.write(QJsonDocument(entry).toJson(QJsonDocument::Compact) + '\n');
  return answer;
}

}  // namespace

int MessageBox(QWidget* parent, const QString& text, const QString& caption, unsigned type) {
  const MessageBoxRequest request{text, caption, type};
  MessageBoxHandler handler;
  {
    std::lock_guard lock(handlerMutex);
    handler = installedHandler;
  }
  if (handler) return handler(request);
  const QString transcript = qEnvironmentVariable(kMessageBoxTranscriptVariable);
  return transcript.isEmpty() ? ShowDialog(parent, request) : AnswerFromScript(transcript, request);
}

void SetMessageBoxHandler(MessageBoxHandler handler) {
  std::lock_guard lock(handlerMutex);
  installedHandler = std::move(handler);
}

}  // namespace platform
