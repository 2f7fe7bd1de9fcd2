#pragma once

#include "admin/shell/TabButtonExG.h"

#include <QColor>
#include <QRect>
#include <QString>
#include <QWidget>

#include <vector>

// The strip of tabs across the top of the form designer's canvas: one tab button per tab, laid
// out side by side from the left, one of them marked selected. Each tab keeps the identifier
// it was added with; identifiers are never handed out twice.
class CTabControl : public QWidget {
  Q_OBJECT

 public:
  // Tabs take a quarter of the strip's width each.
  CTabControl(const QRect& geometry, QWidget* parent);

  // Places a tab with the title right of the last one; the first tab of an empty strip becomes
  // the selected one (without a notice).
  void AddTab(const QString& title);
  // Destroys the tab at the display index and lays the others out again from the left; the
  // selection marks of the others stay. An index outside the strip is ignored.
  void RemoveTab(int index);
  // Marks tab 0 selected and every other tab not selected, without a notice.
  void SelectFirstTab();
  // An index outside the strip is ignored.
  void SetTabTitle(int index, const QString& title);
  void SetTabFontSize(int points);

  int GetTabCount() const { return static_cast<int>(m_tabs.size()); }
  // Display index of the selected tab; -1 when none is.
  int GetSelectedTab() const;
  // Null for an index outside 0..count-1.
  CTabButtonExG* GetTab(int index) const;
  // The identifier of the tab at the display index; -1 outside the strip.
  int GetTabId(int index) const;
  int GetTabWidth() const { return m_nTabWidth; }

  void SetBackgroundColor(const QColor& color);

 Q_SIGNALS:
  // A tab was clicked: sent with its identifier after the strip has marked it selected.
  void TabSelChange(int id);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  static constexpr int kTabHeight = 28;

  void OnTabSelChange(int id);

  int m_nTabWidth;
  int m_nNextId = 0;
  std::vector<CTabButtonExG*> m_tabs;  // children of the strip, deleted with it
  QColor m_backgroundColor = Qt::white;
};
