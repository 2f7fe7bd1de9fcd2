#pragma once

#include <QDialog>

class QCheckBox;

// The notice on administrator rights for Windows Vista and Windows 7, which the user can switch
// off for good. Only OK stores that choice; Esc and the close box store nothing.
class CWindowsVistaInfoMessageDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CWindowsVistaInfoMessageDialog(QWidget* parent = nullptr);

 private:
  void OnOK();

  QCheckBox* m_pDoNotShow;
};
