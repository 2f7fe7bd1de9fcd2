#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>

// A transparent label with an icon and a caption that can keep a pressed look, set by its owner.
class CStaticExG : public QWidget {
  Q_OBJECT

 public:
  explicit CStaticExG(const QString& text, QWidget* parent = nullptr);

  QString text() const { return m_strText; }
  void setText(const QString& text);
  // Replaces the icon; a null icon leaves none. 1 when an icon was set, else 0.
  int SetIcon(const QPixmap& icon);
  void SetPressedLook(bool pressed);
  bool HasPressedLook() const { return m_bPressedLook; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QString m_strText;
  QImage m_normal;
  QImage m_pressed;
  QPixmap m_icon;
  bool m_bHover = false;
  bool m_bPressedLook = false;
};
