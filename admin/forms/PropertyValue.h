#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

// Asks for one new item of a combo box's Valued List, checked against the type of the combo
// box's data column.
class CPropertyValue : public QDialog {
  Q_OBJECT

 public:
  explicit CPropertyValue(QWidget* parent = nullptr);

  // The data column the item is a value of: its name and SQL type name.
  void SetDataColumn(const QString& columnName, const QString& sqlTypeName);
  // The item typed, once the dialog ended with OK.
  QString GetValue() const { return m_strValue; }

 private:
  void OnOK();
  // The refusal of the typed value; empty when it is accepted.
  QString Refusal(const QString& value) const;

  QLineEdit* m_pValue;
  QString m_strColumnName;
  QString m_strSqlTypeName;
  QString m_strValue;
};
