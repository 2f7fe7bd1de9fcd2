#pragma once

#include <QDialog>

// The program's name, edition and version.
class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
};
