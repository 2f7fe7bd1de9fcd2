// Presses the Start/Stop Synchronization button of the administration program's Preferences
// module once, for the demo's unattended run:
//   TarnwickDemoPreferences <the button's caption>
// The button must read the caption given ("Start Synchronization" or "Stop Synchronization"),
// else nothing is pressed and it ends with 1. Every message box is answered as the administrator
// who asked for the press would (Yes, OK) and its text printed on a line of its own.
#include "admin/shell/BMButton.h"
#include "admin/shell/TarnwickApp.h"
#include "admin/shell/TarnwickOptionsDlg.h"
#include "platform/widgets/MessageBox.h"

#include <QApplication>

#include <cstdio>

namespace {

int AnswerAndPrint(const platform::MessageBoxRequest& box) {
  std::printf("%s\n", qPrintable(box.text));
  std::fflush(stdout);
  return box.buttons() == platform::MB_YESNO ? platform::IDYES : platform::IDOK;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const QStringList args = QApplication::arguments().mid(1);
  if (args.size() != 1) {
    std::fputs("usage: TarnwickDemoPreferences <the button's caption>\n", stderr);
    return 2;
  }
  const CTarnwickApp app;  // the administration program's log
  platform::SetMessageBoxHandler(AnswerAndPrint);
  CTarnwickOptionsDlg preferences;
  auto* button = preferences.findChild<CBMButton*>(QStringLiteral("1160"));
  if (button->text() != args.at(0)) {
    std::fprintf(stderr, "The button reads \"%s\".\n", qPrintable(button->text()));
    return 1;
  }
  button->click();
  return 0;
}
