#pragma once

#include "admin/forms/FormulaLanguage.h"

#include <QDialog>
#include <QString>

class CBMButton;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTreeWidget;

// The editor of a FormulaField's formula: the profile's columns, the functions and the
// operators to insert, and the validator's verdict on OK.
class CFormulaDesignDlg : public QDialog {
  Q_OBJECT

 public:
  CFormulaDesignDlg(const FormulaColumns& columns, const QString& formula, QWidget* parent = nullptr);

  // The formula as typed, once the dialog ended with OK.
  QString GetFormula() const { return m_strFormula; }

 private:
  void BuildControls();
  void OnInitDialog();
  void OnTreeSelection();
  void OnCategorySelection();
  void OnItemSelection();
  void OnPaste();
  void InsertText(const QString& text);
  void OnHelp();
  void OnOK();
  // The verdict on the formula without its blanks: empty when it is valid.
  QString Refusal(const QString& withoutBlanks) const;

  FormulaColumns m_columns;
  QString m_strFormula;
  QLineEdit* m_pFormula;
  QTreeWidget* m_pTree;
  QListWidget* m_pCategories;
  QListWidget* m_pItems;
  QLabel* m_pSyntax;
  CBMButton* m_pHelp;
};
