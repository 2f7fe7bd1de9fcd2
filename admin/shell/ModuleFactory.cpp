#include "admin/shell/ModuleFactory.h"

#include "admin/shell/TarnwickApp.h"
#include "admin/shell/TarnwickOptionsDlg.h"
#include "admin/shell/UserManagerDlg.h"

#include <QHash>
#include <QWidget>

#include <utility>

namespace {

QHash<QString, ModuleDialogCreator>& RegisteredCreators() {
  static QHash<QString, ModuleDialogCreator> creators;
  return creators;
}

}  // namespace

void RegisterModuleDialog(const QString& module, ModuleDialogCreator creator) {
  RegisteredCreators().insert(module, std::move(creator));
}

// A module nobody supplied is an empty panel.
QWidget* CreateModuleDialog(const QString& module, QWidget* parent) {
  if (module == QStringLiteral("Preferences")) return new CTarnwickOptionsDlg(parent);
  if (module == QStringLiteral("User Manager")) {
    CTarnwickApp* app = GetTarnwickApp();
    return app != nullptr ? new CUserManagerDlg(app->GetSettingsConnection(), parent) : nullptr;
  }
  const auto registered = RegisteredCreators().constFind(module);
  if (registered != RegisteredCreators().constEnd()) return (*registered)(parent);
  auto* dialog = new QWidget(parent);
  dialog->setObjectName(module);
  return dialog;
}
