#pragma once

#include <QDialog>

class QRadioButton;

// Asks how a workbook is read: its first row as the field names (0) or as a worksheet (1).
class CExcelConnDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CExcelConnDlg(QWidget* parent = nullptr);

  int GetChoice() const { return m_nChoice; }

 private:
  void OnOK();
  void OnBnClickedHelp();

  QRadioButton* m_pFirstRowHeader;
  QRadioButton* m_pWorksheet;
  QWidget* m_pHelp;
  int m_nChoice = 0;
};
