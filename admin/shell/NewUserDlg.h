#pragma once

#include "admin/shell/SyncOptionControls.h"

#include <QDialog>

#include <cstdint>

namespace admin { class CDatabseConnection; }
class QComboBox;
class QLineEdit;

// "New User Information": a new device user's device type, device ID (typed twice), names,
// department, designation and sync option. OK closes only with input the checks accept.
class CNewUserDlg : public QDialog {
  Q_OBJECT

 public:
  // Every text of these dialogs fits a field of 1,024 characters with its terminating zero.
  static constexpr int kMaxTextChars = 1023;

  explicit CNewUserDlg(admin::CDatabseConnection& settings, QWidget* parent = nullptr);

  // The accepted input; the device ID without blanks at its ends.
  QString GetDeviceId() const { return m_strDeviceId; }
  QString GetFirstName() const { return m_strFirstName; }
  QString GetLastName() const { return m_strLastName; }
  QString GetDepartment() const { return m_strDepartment; }
  QString GetDesignation() const { return m_strDesignation; }
  int32_t GetSyncOption() const { return m_nSyncOption; }
  int32_t GetSyncInterval() const { return m_nSyncInterval; }
  // 1 BlackBerry, 2 iPhone, 3 Pocket PC.
  uint8_t GetDeviceType() const { return m_nDeviceType; }

 private:
  QLineEdit* AddTextRow(const QString& label, const QString& id, int top);
  void OnInitDialog();
  void FillDeviceTypeCombo();
  void OnCbnSelchangeDeviceType();
  void OnBnClickedSyncOption();
  bool ValidateUserInfo();
  void OnOK();
  bool Refuse(const QString& text);

  admin::CDatabseConnection& m_settings;
  QComboBox* m_pDeviceType;
  QLineEdit* m_pDeviceId;
  QLineEdit* m_pConfirmDeviceId;
  QLineEdit* m_pFirstName;
  QLineEdit* m_pLastName;
  QLineEdit* m_pDepartment;
  QLineEdit* m_pDesignation;
  SyncOptionControls m_syncOption;
  QString m_strDeviceId;
  QString m_strConfirmDeviceId;
  QString m_strFirstName;
  QString m_strLastName;
  QString m_strDepartment;
  QString m_strDesignation;
  int32_t m_nSyncOption = 0;
  int32_t m_nSyncInterval = 0;
  uint8_t m_nDeviceType = 1;
};
