#include "admin/shell/TabControl.h"

#include <QPainter>

CTabControl::CTabControl(const QRect& geometry, QWidget* parent)
    : QWidget(parent), m_nTabWidth(geometry.width() / 4) {
  setGeometry(geometry);
}

void CTabControl::AddTab(const QString& title) {
  const int left = m_tabs.empty() ? 0 : m_tabs.back()->geometry().right() + 1;
  const int top = m_tabs.empty() ? 0 : m_tabs.back()->geometry().top();
  auto* tab = new CTabButtonExG(title, m_nNextId++, this);
  tab->setGeometry(left, top, m_nTabWidth, kTabHeight - top);
  connect(tab, &CTabButtonExG::TabClicked, this, &CTabControl::OnTabSelChange);
  tab->show();
  m_tabs.push_back(tab);
  if (m_tabs.size() == 1) SelectFirstTab();
}

void CTabControl::RemoveTab(int index) {
  CTabButtonExG* removed = GetTab(index);
  if (removed == nullptr) return;
  m_tabs.erase(m_tabs.begin() + index);
  removed->hide();
  delete removed;
  for (size_t i = 0; i < m_tabs.size(); ++i)
    m_tabs[i]->setGeometry(static_cast<int>(i) * m_nTabWidth, 0, m_nTabWidth, kTabHeight);
  update();
}

void CTabControl::SelectFirstTab() {
  for (size_t i = 0; i < m_tabs.size(); ++i) m_tabs[i]->SetSelected(i == 0);
}

void CTabControl::SetTabTitle(int index, const QString& title) {
  if (CTabButtonExG* tab = GetTab(index)) tab->setText(title);
}

void CTabControl::SetTabFontSize(int points) {
  for (CTabButtonExG* tab : m_tabs) tab->SetFontSize(points);
}

int CTabControl::GetSelectedTab() const {
  for (size_t i = 0; i < m_tabs.size(); ++i)
    if (m_tabs[i]->IsSelected()) return static_cast<int>(i);
  return -1;
}

CTabButtonExG* CTabControl::GetTab(int index) const {
  if (index < 0 || index >= GetTabCount()) return nullptr;
  return m_tabs[static_cast<size_t>(index)];
}

int CTabControl::GetTabId(int index) const {
  const CTabButtonExG* tab = GetTab(index);
  return tab == nullptr ? -1 : tab->GetId();
}

void CTabControl::OnTabSelChange(int id) {
  for (CTabButtonExG* tab : m_tabs) tab->SetSelected(tab->GetId() == id);
  Q_EMIT TabSelChange(id);
}

void CTabControl::SetBackgroundColor(const QColor& color) {
  m_backgroundColor = color;
  update();
}

void CTabControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), m_backgroundColor);
}
