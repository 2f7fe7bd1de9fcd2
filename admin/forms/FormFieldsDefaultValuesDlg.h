#pragma once

#include <QDialog>
#include <QString>

#include <vector>

class CBMButton;
class CParameterListCtrl;

// One column of the profile that no control of the form maps, with its default value.
struct FieldDefaultRow {
  QString ColumnName;
  QString SqlTypeName;  // "SQL_INTEGER", "SQL_VARCHAR", ...
  QString DefaultValue;
};

// Asks for the default values of the columns a form leaves unmapped, each checked against its
// column's type; a numeric or bit column needs one.
class CFormFieldsDefaultValuesDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CFormFieldsDefaultValuesDlg(const std::vector<FieldDefaultRow>& rows, QWidget* parent = nullptr);

  // The rows with the values entered, once the dialog ended with OK.
  const std::vector<FieldDefaultRow>& GetRows() const { return m_rows; }

 private:
  void OnInitDialog();
  void OnOK();
  // The refusal of a row's value; empty when it may be stored.
  QString Refusal(const FieldDefaultRow& row, const QString& value) const;

  std::vector<FieldDefaultRow> m_rows;
  CParameterListCtrl* m_pList;
  CBMButton* m_pHelp;
};
