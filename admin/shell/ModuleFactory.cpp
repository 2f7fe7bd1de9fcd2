#include "admin/shell/ModuleFactory.h"

#include "admin/shell/TarnwickApp.h"
#include "admin/shell/TarnwickOptionsDlg.h"
#include "admin/shell/UserManagerDlg.h"

#include <QWidget>

// The modules' dialogs come with their own work; until then a module without one is an empty
// panel.
QWidget* CreateModuleDialog(const QString& module, QWidget* parent) {
  if (module == QStringLiteral("Preferences")) return new CTarnwickOptionsDlg(parent);
  if (module == QStringLiteral("User Manager")) {
    CTarnwickApp* app = GetTarnwickApp();
    return app != nullptr ? new CUserManagerDlg(app->GetSettingsConnection(), parent) : nullptr;
  }
  auto* dialog = new QWidget(parent);
  dialog->setObjectName(module);
  return dialog;
}
