#pragma once

#include <QString>

#include <functional>

class QWidget;

// Makes the dialog of a module of the main window's tree ("Profile Manager", "Form Manager",
// "Preferences", "User Manager") as a child of `parent`; null when it cannot be made.
QWidget* CreateModuleDialog(const QString& module, QWidget* parent);

using ModuleDialogCreator = std::function<QWidget*(QWidget* parent)>;

// Supplies the dialog of a module whose code builds on the shell (the profile and form
// managers), so the shell needs no link to it; the program registers them at start.
void RegisterModuleDialog(const QString& module, ModuleDialogCreator creator);
