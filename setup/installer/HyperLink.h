#pragma once

#include <QLabel>

// A text that acts as a link: the hand cursor over it, blue while hovered and purple otherwise,
// painted centred on whatever lies behind it; a click emits clicked().
class CHyperLink : public QLabel {
  Q_OBJECT

 public:
  static QColor HoverColor() { return QColor(0, 0, 238); }
  static QColor NormalColor() { return QColor(85, 25, 139); }

  explicit CHyperLink(const QString& text = QStringLiteral("?"), QWidget* parent = nullptr);

  bool Hovered() const { return m_bHovered; }

 Q_SIGNALS:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool m_bHovered = false;
};
