#pragma once

#include <QWidget>

// An etched line across the middle of its rectangle: vertical when narrower than tall, else
// horizontal; a shadow line and a highlight line beside it, two pixels short of each end.
class CSeparator : public QWidget {
  Q_OBJECT

 public:
  explicit CSeparator(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void DrawSeparator(QPainter& painter) const;
};
