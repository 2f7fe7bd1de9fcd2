#include "admin/foundation/FormTabInfo.h"

FormTabInfo::FormTabInfo(int index, const QString& title) : TabIndex(index), m_strTitle(title) {}

FormTabInfo::~FormTabInfo() = default;

FormControlInfo* FormTabInfo::GetControl(int index) const {
  if (index < 0 || index >= GetControlCount()) return nullptr;
  return m_controls[static_cast<size_t>(index)].get();
}

int FormTabInfo::AddControl(std::unique_ptr<FormControlInfo> control) {
  m_controls.push_back(std::move(control));
  return GetControlCount() - 1;
}

bool FormTabInfo::RemoveControl(int index) {
  if (index < 0 || index >= GetControlCount()) return false;
  m_controls.erase(m_controls.begin() + index);
  return true;
}
