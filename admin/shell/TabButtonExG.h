#pragma once

#include <QString>
#include <QWidget>

// One tab of the designer's tab strip: a tab picture, brighter while selected, with the title
// in white.
class CTabButtonExG : public QWidget {
  Q_OBJECT

 public:
  CTabButtonExG(const QString& title, QWidget* parent);

  void SetSelected(bool selected);
  bool IsSelected() const { return m_bSelected; }
  QString GetWindowText() const { return m_strTitle; }

  // The colours of the two tab pictures.
  static QColor SelectedColor();
  static QColor UnselectedColor();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString m_strTitle;
  bool m_bSelected = false;
};
