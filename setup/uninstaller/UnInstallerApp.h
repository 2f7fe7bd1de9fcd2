#pragma once

#include "setup/common/SetupLog.h"
#include "setup/uninstaller/UnInstallerDlg.h"

#include <QString>

// The uninstaller's application object, made after QApplication: it reads the installation
// folder once, logs the start and the machine, and runs the dialog, which ends the program.
class CUnInstallerApp {
 public:
  explicit CUnInstallerApp(UninstallerOptions options);

  // Always false: the program ends inside the dialog.
  bool InitInstance();

  // Appends a line to the uninstall log; lost when no installation folder is known.
  void WriteUninstallLog(const QString& text) const;
  SetupLogSink LogSink() const;

 private:
  UninstallerOptions options_;
  QString m_strInstallFolder;
};
