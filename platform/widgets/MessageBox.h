#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace platform {

// Button sets, icons and answers, with Win32's numbers.
inline constexpr unsigned MB_OK = 0x00;
inline constexpr unsigned MB_OKCANCEL = 0x01;
inline constexpr unsigned MB_YESNOCANCEL = 0x03;
inline constexpr unsigned MB_YESNO = 0x04;
inline constexpr unsigned MB_ICONERROR = 0x10;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONWARNING = 0x30;
inline constexpr unsigned MB_ICONINFORMATION = 0x40;
inline constexpr unsigned MB_DEFBUTTON2 = 0x100;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

struct MessageBoxRequest {
  QString text;
  QString caption;
  unsigned type = MB_OK;

  unsigned buttons() const { return type & 0x0F; }
  unsigned icon() const { return type & 0xF0; }
  // 0 the first button is the default, MB_DEFBUTTON2 the second.
  unsigned defaultButton() const { return type & 0xF00; }
};

using MessageBoxHandler = std::function<int(const MessageBoxRequest&)>;

// Shows a modal message box and returns the button chosen. Every message box of the programs
// goes through here, so that tests can answer them.
int MessageBox(QWidget* parent, const QString& text, const QString& caption, unsigned type);

// Routes every later message box to `handler` instead of a dialog; an empty handler restores
// the dialogs.
void SetMessageBoxHandler(MessageBoxHandler handler);

// Without a handler, and with $TARNWICK_MESSAGEBOX_TRANSCRIPT naming a file, no box is shown: each
// is answered from $TARNWICK_MESSAGEBOX_ANSWERS (a file of answers, one number a line, taken in
// order; past its end IDOK, or IDYES for a yes/no box) and appended to the transcript as one
// JSON line {"caption", "text", "icon", "buttons", "defaultButton", "answer"}. So a test can run a real program.
inline constexpr char kMessageBoxTranscriptVariable[] = "TARNWICK_MESSAGEBOX_TRANSCRIPT";
inline constexpr char kMessageBoxAnswersVariable[] = "TARNWICK_MESSAGEBOX_ANSWERS";

}  // namespace platform
