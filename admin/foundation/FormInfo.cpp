#include "admin/foundation/FormInfo.h"

FormInfo::FormInfo() = default;

FormInfo::~FormInfo() = default;

FormTabInfo* FormInfo::GetTab(int index) const {
  if (index < 0 || index >= GetTabCount()) return nullptr;
  return m_tabs[static_cast<size_t>(index)].get();
}

bool FormInfo::AddFormTab(int index, const QString& title) {
  if (index < 0 || index > GetTabCount()) return false;
  auto tab = std::make_unique<FormTabInfo>(index, title);
  if (index == GetTabCount())
    m_tabs.push_back(std::move(tab));
  else
    m_tabs[static_cast<size_t>(index)] = std::move(tab);
  return true;
}

bool FormInfo::RemoveFormTab(int index) {
  if (index < 0 || index >= GetTabCount()) return false;
  m_tabs.erase(m_tabs.begin() + index);
  for (int i = index; i < GetTabCount(); ++i) m_tabs[static_cast<size_t>(i)]->TabIndex = i;
  return true;
}
