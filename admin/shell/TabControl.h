#pragma once

#include "admin/shell/TabButtonExG.h"

#include <QColor>
#include <QRect>
#include <QString>
#include <QWidget>

#include <vector>

// The strip of tabs across the top of the form designer's canvas: one tab button per tab, laid
// out side by side from the left, one of them marked selected.
class CTabControl : public QWidget {
  Q_OBJECT

 public:
  // Tabs take a quarter of the strip's width each.
  CTabControl(const QRect& geometry, QWidget* parent);

  // Places a tab with the title right of the last one; the first tab of an empty strip becomes
  // the selected one.
  void AddTab(const QString& title);
  // Marks tab 0 selected and every other tab not selected.
  void SelectFirstTab();

  int GetTabCount() const { return static_cast<int>(m_tabs.size()); }
  // Display index of the selected tab; -1 when none is.
  int GetSelectedTab() const;
  // Null for an index outside 0..count-1.
  CTabButtonExG* GetTab(int index) const;
  int GetTabWidth() const { return m_nTabWidth; }

  void SetBackgroundColor(const QColor& color);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  static constexpr int kTabHeight = 28;

  int m_nTabWidth;
  std::vector<CTabButtonExG*> m_tabs;  // children of the strip, deleted with it
  QColor m_backgroundColor = Qt::white;
};
