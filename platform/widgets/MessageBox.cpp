#include "platform/widgets/MessageBox.h"

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
  return AnswerOf(box.exec());
}

}  // namespace

int MessageBox(QWidget* parent, const QString& text, const QString& caption, unsigned type) {
  const MessageBoxRequest request{text, caption, type};
  MessageBoxHandler handler;
  {
    std::lock_guard lock(handlerMutex);
    handler = installedHandler;
  }
  return handler ? handler(request) : ShowDialog(parent, request);
}

void SetMessageBoxHandler(MessageBoxHandler handler) {
  std::lock_guard lock(handlerMutex);
  installedHandler = std::move(handler);
}

}  // namespace platform
