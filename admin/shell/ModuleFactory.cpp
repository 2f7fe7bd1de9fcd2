#include "admin/shell/ModuleFactory.h"

#include <QWidget>

// The modules' dialogs come with their own work; until then each is an empty panel.
QWidget* CreateModuleDialog(const QString& module, QWidget* parent) {
  auto* dialog = new QWidget(parent);
  dialog->setObjectName(module);
  return dialog;
}
