#pragma once

#include "admin/shell/GridListCtrl.h"

#include <QDialog>
#include <QString>
#include <QStringList>

class QComboBox;
class QLineEdit;
class QRadioButton;

// Asks for a filter's value: typed ("Arbitrary Value") or another column of the source
// ("Database Column"), which must hold the same kind of data as the filtered column.
class CFilterValue : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kHelpTopic = 12;

  // `columnTypes` holds the SQL type code of each of `columnNames` in decimal; `sqlType` is the
  // filtered column's.
  CFilterValue(const QString& value, const QStringList& columnNames, const QStringList& columnTypes, int sqlType,
               QWidget* parent = nullptr);

  QString GetValue() const { return m_strValue; }
  // True unless "Database Column" was the last choice.
  bool IsArbitraryValue() const;

  // Whether a column of type `chosenType` may stand as the value of one of type `filteredType`.
  static bool IsValidFieldMapping(int filteredType, int chosenType);

  // The filter list's value prompt: this dialog over `parent`, with the types of the list's
  // column names.
  static FilterValuePrompt MakePrompt(QWidget* parent, const QStringList& columnTypes);

 private:
  void OnChoiceChanged();
  void OnColumnChosen(int index);
  void OnHelp();

  QRadioButton* m_pArbitrary;
  QRadioButton* m_pDatabaseColumn;
  QComboBox* m_pColumns;
  QLineEdit* m_pValueEdit;
  QWidget* m_pHelp;
  QStringList m_columnTypes;
  int m_nSqlType;
  QString m_strValue;
};
