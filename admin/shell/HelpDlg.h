#pragma once

#include <QDialog>
#include <QFont>
#include <QPoint>
#include <QRect>

class CBMSmallButton;

// The balloon help window: a borderless, rounded, light-yellow pop-up with the text of one topic,
// placed where the caller says, dragged with the mouse and closed with its "X" button.
class CHelpDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CHelpDlg(QWidget* parent = nullptr);

  void SetTopic(int topic) { m_nTopic = topic; }
  void SetPosition(QPoint topLeft) { m_position = topLeft; }

  // Lays the balloon out for its topic and runs it modally.
  int exec() override;

  QString GetText() const { return m_strText; }
  QRect GetLayoutRect() const { return m_layout; }

  static constexpr int kTemplateWidth = 210;
  static constexpr int kTemplateHeight = 138;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void OnInitDialog();
  int MeasureTextHeight(int width) const;

  int m_nTopic = 0;
  QPoint m_position;
  QString m_strText;
  QRect m_layout;
  QFont m_font;
  CBMSmallButton* m_pClose;
  bool m_bDragging = false;
  QPoint m_dragCursor;
  QPoint m_dragWindow;
};
