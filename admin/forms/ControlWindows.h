#pragma once

#include "admin/forms/ControlWindow.h"

#include <unordered_map>

struct FormControlInfo;
class FormTabInfo;
class QWidget;

// The designer windows of a form's controls, one per placed control, kept apart from the form's
// records. Dropping a control, or destroying the map, destroys its window; the form's owner
// drops a control's window before the control's record goes.
class ControlWindows {
 public:
  // Null for a control without a window.
  QWidget* Get(const FormControlInfo& control) const;
  // Gives `control` the window `window`, destroying the one it had.
  void Place(const FormControlInfo& control, QWidget* window);
  void Drop(const FormControlInfo& control);
  // Drops the windows of every control of the tab.
  void DropTab(const FormTabInfo& tab);

 private:
  std::unordered_map<const FormControlInfo*, ControlWindow> m_windows;
};
