#pragma once

#include "setup/installer/InstallerPage.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// The device: its type and UDID, typed twice. Next asks the administration service where the
// web service is and tests that it answers.
class CPersonalInfoPage : public CInstallerPage {
  Q_OBJECT

 public:
  static const QString kUdidNote;
  static constexpr int kUdidLength = 40;
  // A field of 256 bytes holds 255 and the terminating zero.
  static constexpr int kMaxAddressBytes = 255;

  explicit CPersonalInfoPage(CInstallerApp& app, QWidget* parent = nullptr);

  // Checks the entries, telling the user what is wrong; on success stores the device in the
  // install state.
  bool ValidateDeviceInfo();
  bool validatePage() override;

 private:
  void EnableEntries();
  bool DiscoverWebService();
  bool TestWebService();

  QRadioButton* m_pIPhone;
  QRadioButton* m_pIPad;
  QLineEdit* m_pUdid;
  QLineEdit* m_pConfirm;
  QLabel* m_pNote;
  QComboBox* m_pDeviceTypes;
};
