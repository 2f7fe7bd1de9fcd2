#pragma once

#include <QDialog>
#include <QFont>
#include <QPoint>

class CHyperLink;

namespace installer {

// The installer's help balloon (the administration program has its own CHelpDlg): a borderless, rounded, light-yellow
// window with one topic's text, dragged with the left button and closed with its "x" link.
class CHelpDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kWidth = 300;
  static constexpr int kCornerDiameter = 20;

  static QString TopicText(int topic);
  static QColor BackgroundColor() { return QColor(255, 255, 224); }
  static QColor TextColor() { return QColor(55, 55, 55); }

  explicit CHelpDlg(QWidget* parent = nullptr);

  // Sizes the balloon to the topic's text and masks its corners.
  void SetTopic(int topic);
  QString Text() const { return m_strText; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QString m_strText;
  QFont m_font;
  CHyperLink* m_pClose;
  bool m_bDragging = false;
  QPoint m_dragOffset;
};

}  // namespace installer
