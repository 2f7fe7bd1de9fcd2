#include "admin/forms/FormManagerDlg.h"
#include "admin/profiles/ProfileManagerDlg.h"
#include "admin/shell/ModuleFactory.h"
#include "admin/shell/TarnwickApp.h"
#include "platform/os/TerminationSignal.h"

#include <QApplication>

// The administration program: one instance per machine root; it ends when its main dialog
// closes, with 1 when the settings database could not be connected.
int main(int argc, char** argv) {
  QApplication application(argc, argv);
  CTarnwickApp app;
  RegisterModuleDialog(QStringLiteral("Profile Manager"),
                       [&app](QWidget* parent) { return new CProfileManagerDlg(app, parent); });
  RegisterModuleDialog(QStringLiteral("Form Manager"),
                       [&app](QWidget* parent) { return new CFormManagerDlg(app, parent); });
  platform::OnTerminationSignal(&application, [&app] { app.RequestClose(); });
  app.InitInstance();
  return app.ExitInstance();
}
