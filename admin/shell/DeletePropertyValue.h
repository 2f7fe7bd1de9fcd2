#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;

// Lets the form designer pick one value of a drop-down control's value list for removal.
class CDeletePropertyValue : public QDialog {
  Q_OBJECT

 public:
  // `values` in the order they are listed; the first is selected at opening.
  explicit CDeletePropertyValue(const QStringList& values, QWidget* parent = nullptr);

  QString GetChosenValue() const { return m_strChosenValue; }

 private:
  void OnInitDialog();
  void OnOK();

  QStringList m_values;
  QListWidget* m_pList;
  QString m_strChosenValue;
};
