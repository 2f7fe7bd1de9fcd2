#pragma once

#include "setup/installer/InstallerPage.h"

#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;

// The installation folder, and whether a missing one is made.
class CSelectPathPage : public CInstallerPage {
  Q_OBJECT

 public:
  static const QString kProductFolder;

  // Asks the user for a folder; empty when none was chosen. Tests replace it.
  using FolderChooser = std::function<QString(QWidget* parent, const QString& title)>;
  static void SetFolderChooser(FolderChooser chooser);

  explicit CSelectPathPage(CInstallerApp& app, QWidget* parent = nullptr);

  bool validatePage() override;
  QString FolderText() const;

 private:
  void OnBrowse();

  QLineEdit* m_pFolder;
  QPushButton* m_pBrowse;
  QCheckBox* m_pCreate;
};
