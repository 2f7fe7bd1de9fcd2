#pragma once

#include "admin/shell/SyncOptionControls.h"

#include <QDialog>

namespace admin { class CDatabseConnection; }

// "Set User Options": changes the sync option and interval of one device user; the user's row
// is stored with the flag "U".
class CSetUserOptionsDlg : public QDialog {
  Q_OBJECT

 public:
  CSetUserOptionsDlg(admin::CDatabseConnection& settings, const QString& pin, QWidget* parent = nullptr);

 private:
  void OnInitDialog();
  void LoadUserOptions();
  void OnBnClickedSyncOption();
  void OnOK();

  admin::CDatabseConnection& m_settings;
  QString m_strPin;
  SyncOptionControls m_syncOption;
};
