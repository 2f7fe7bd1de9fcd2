#pragma once

#include <QDialog>

// The administration program's main window: the module tree on the left, the administrator
// login or the selected module on the right.
class CTarnwickDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CTarnwickDlg(QWidget* parent = nullptr);

 private:
  void OnInitDialog();
};
