#pragma once

#include "admin/shell/ButtonEx.h"

#include <QImage>
#include <QRect>
#include <QString>

// One tab of the designer's tab strip: the tab picture (211, or 212 while selected) stretched
// over the button with its magenta key, the title in white bold Verdana at the left. A click
// reports the tab's identifier.
class CTabButtonExG : public CButtonEx {
  Q_OBJECT

 public:
  CTabButtonExG(const QString& title, int id, QWidget* parent);

  int GetId() const { return m_nId; }
  void SetSelected(bool selected);
  bool IsSelected() const { return m_bSelected; }
  QString GetWindowText() const { return text(); }
  // The title as drawn: cut with an ellipsis when it is wider than the tab.
  QString GetShownText() const;
  // Keeps face and weight; the height is that of the points at the screen's resolution.
  void SetFontSize(int points);

  static constexpr int kUnselectedBitmap = 211;
  static constexpr int kSelectedBitmap = 212;

 Q_SIGNALS:
  void TabClicked(int id);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QRect TextRect() const { return rect().adjusted(3, 0, -3, 0); }

  int m_nId;
  bool m_bSelected = false;
  QImage m_picture;
};
