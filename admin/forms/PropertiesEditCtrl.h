#pragma once

#include <QLineEdit>

// The edit box of a grid row: at most 50 characters; tells the grid of each typed change, of
// getting the focus and of the end of editing (Enter, or the focus leaving after a change).
class CPropertiesEditCtrl : public QLineEdit {
  Q_OBJECT

 public:
  CPropertiesEditCtrl(const QString& text, bool readOnly, QWidget* parent);

 Q_SIGNALS:
  void Changed();
  void Activated();
  void Finished();

 protected:
  void focusInEvent(QFocusEvent* event) override;
};
