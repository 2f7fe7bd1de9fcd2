#pragma once

#include "admin/foundation/DatabseConnection.h"
#include "admin/foundation/FailureSinkScope.h"
#include "admin/foundation/LogFile.h"
#include "admin/shell/FailurePresenter.h"

#include <QFont>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class CTarnwickDlg;
class QLocalServer;

// The administration program's application object: the day's log, the presenter of the data
// layer's failures, the desktop registration read at start-up, the settings connection and the
// administrator's login. Exactly one exists while the program runs; it is made in main after the
// QApplication, never by static construction.
class CTarnwickApp {
 public:
  // Opens the day's log: "DesktopLog.log" in the folder "%d-%d-%d" (day, month, year) under the
  // installation folder's "Desktop Files/Logs/", made when missing. It is the program's log
  // (WriteAppLog) until the object goes.
  CTarnwickApp();
  ~CTarnwickApp();
  CTarnwickApp(const CTarnwickApp&) = delete;
  CTarnwickApp& operator=(const CTarnwickApp&) = delete;

  // The program's life: a second instance activates the first and ends; otherwise the start
  // line, web-service test, OS block, desktop registration and the settings connection (a
  // failure is logged and shown), then the main dialog until it closes. False in every case.
  bool InitInstance();
  // The process's exit code: 1 when the settings database could not be connected, else 0.
  int ExitInstance();

  // True when another instance runs: it has been told to come to the front. Otherwise this
  // process is the instance and answers later starts.
  bool ActivateRunningInstance();
  // Shows the Windows Vista/7 notice for those systems unless it was switched off, with its
  // log lines.
  void CheckWindowsOS();
  // Closes the main dialog, and any dialog over it, as the close box does; asked before the
  // main dialog runs, the main dialog is not run.
  void RequestClose();

  CLogFile* GetLog() const { return m_pLog.get(); }
  bool IsLoggingEnabled() const { return m_bLoggingEnabled; }
  // The one connection to the settings database, connected by InitInstance.
  admin::CDatabseConnection& GetSettingsConnection() { return m_settingsConnection; }
  // Disconnects the settings database and connects it again; a failure is logged, shown as at
  // start-up unless `showFailure` is off, and leaves it disconnected. Every statement on the
  // connection must be freed before: its handle goes with the old connection.
  bool ReconnectSettingsDatabase(bool showFailure = true);
  QString GetDesktopName() const { return m_strDesktopName; }
  QString GetDefaultUserID() const { return m_strDefaultUserID; }
  // 1 BlackBerry, 2 iPhone, 3 Pocket PC, 4 iPad; 0 when the registration could not be read.
  uint16_t GetDeviceType() const { return m_nDeviceType; }
  const QFont& GetBoldFont() const { return m_boldFont; }
  CTarnwickDlg* GetMainWnd() const { return m_pMainWnd; }

  // The administrator's login, switched by the main dialog.
  bool IsLoggedIn() const { return m_bLoggedIn; }
  void SetLoggedIn(bool loggedIn) { m_bLoggedIn = loggedIn; }

  // How the main dialog runs: modally by default. Tests put their own in place.
  using MainDialogRunner = std::function<void(CTarnwickDlg&)>;
  static void SetMainDialogRunner(MainDialogRunner runner);
  // Where the OS kind code comes from: the system's own detection by default (0 on Linux, so
  // the notice never shows). Tests put their own in place.
  static void SetOsKindSource(std::function<int()> source);

 private:
  void ServeActivation();
  void BringToFront() const;
  void ReadDeskInfo();
  bool ConnectSettingsDatabase(bool showFailure = true);
  void RunMainDialog();

  admin::CDatabseConnection m_settingsConnection;
  std::unique_ptr<CLogFile> m_pLog;
  // The data layer's failures are shown while the application object lives.
  admin::FailurePresenter m_failurePresenter;
  admin::FailureSinkScope m_failureSink{&m_failurePresenter};
  std::unique_ptr<QLocalServer> m_pActivationServer;
  bool m_bLoggingEnabled = true;
  QString m_strDesktopName;
  QString m_strDefaultUserID;
  uint16_t m_nDeviceType = 0;
  QFont m_boldFont;
  CTarnwickDlg* m_pMainWnd = nullptr;
  bool m_bLoggedIn = false;
  bool m_bCloseRequested = false;
  int m_nExitCode = 0;
};

// The one application object; null before it is made and after it is gone.
CTarnwickApp* GetTarnwickApp();
