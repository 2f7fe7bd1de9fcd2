#pragma once

#include <QString>

class QWidget;

// Makes the dialog of a module of the main window's tree ("Profile Manager", "Form Manager",
// "Preferences", "User Manager") as a child of `parent`; null when it cannot be made.
QWidget* CreateModuleDialog(const QString& module, QWidget* parent);
