#pragma once

#include <QDialog>

class QRadioButton;
class SyncControlPort;

// Chooses how the sync program runs: as the service or as a program the starter launches. OK
// switches when the choice differs from the current mode.
class CManageSynchronizationDlg : public QDialog {
  Q_OBJECT

 public:
  CManageSynchronizationDlg(SyncControlPort& port, QWidget* parent = nullptr);

 private:
  void OnInitDialog();
  void OnOK();
  void OnBnClickedHelp();

  SyncControlPort& m_port;
  QRadioButton* m_pAsService;
  QRadioButton* m_pAsApplication;
  QWidget* m_pHelp;
  int m_nCurrentMode = 0;
};
