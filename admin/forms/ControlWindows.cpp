#include "admin/forms/ControlWindows.h"

#include "admin/foundation/FormTabInfo.h"

QWidget* ControlWindows::Get(const FormControlInfo& control) const {
  const auto found = m_windows.find(&control);
  return found == m_windows.end() ? nullptr : found->second.Get();
}

void ControlWindows::Place(const FormControlInfo& control, QWidget* window) { m_windows[&control].Reset(window); }

void ControlWindows::Drop(const FormControlInfo& control) { m_windows.erase(&control); }

void ControlWindows::DropTab(const FormTabInfo& tab) {
  for (int i = 0; i < tab.GetControlCount(); ++i) Drop(*tab.GetControl(i));
}
