#pragma once

#include "setup/common/SetupProgress.h"
#include "setup/installer/InstallerPage.h"

class QLineEdit;

// The computer name and device login password of editions that log in by name; kept with the
// wizard but not shown.
class CAccountInfoPage : public CInstallerPage, private SetupProgress {
  Q_OBJECT

 public:
  static constexpr int kMinimumLength = 6;

  explicit CAccountInfoPage(CInstallerApp& app, QWidget* parent = nullptr);

  bool validatePage() override;
  // Asks the hosted pages whether the name is free and tells the user.
  void OnCheckAvailability();

 private:
  void RemoveBlanksFromName();
  bool ValidateName();
  bool ValidatePasswords();

  void StepProgress(int) override {}
  void SetStatusText(const QString&) override {}
  void PumpWaitingMessages() override;

  QLineEdit* m_pName;
  QLineEdit* m_pPassword;
  QLineEdit* m_pConfirm;
};
