#pragma once

#include "admin/foundation/DatabseConnection.h"
#include "admin/foundation/LogFile.h"

#include <QString>

#include <cstdint>
#include <memory>

// The administration program's application object: the day's log, the desktop registration
// read at start-up and the settings connection. Exactly one exists while the program runs; it
// is made in main after the QApplication, never by static construction.
class CTarnwickApp {
 public:
  // Opens the day's log: "DesktopLog.log" in the folder "%d-%d-%d" (day, month, year) under the
  // installation folder's "Desktop Files/Logs/", made when missing. It is the program's log
  // (WriteAppLog) until the object goes.
  CTarnwickApp();
  ~CTarnwickApp();
  CTarnwickApp(const CTarnwickApp&) = delete;
  CTarnwickApp& operator=(const CTarnwickApp&) = delete;

  // The start-up sequence: start line, web-service test, OS block, desktop registration and the
  // settings connection (a failure is logged and shown). False in every case, as the program's
  // life is its main dialog.
  bool InitInstance();
  int ExitInstance();

  CLogFile* GetLog() const { return m_pLog.get(); }
  // The one connection to the settings database, connected by InitInstance.
  CDatabseConnection& GetSettingsConnection() { return m_settingsConnection; }
  QString GetDesktopName() const { return m_strDesktopName; }
  QString GetDefaultUserID() const { return m_strDefaultUserID; }
  // 1 BlackBerry, 2 iPhone, 3 Pocket PC, 4 iPad; 0 when the registration could not be read.
  uint16_t GetDeviceType() const { return m_nDeviceType; }

 private:
  void ReadDeskInfo();
  void ConnectSettingsDatabase();

  CDatabseConnection m_settingsConnection;
  std::unique_ptr<CLogFile> m_pLog;
  QString m_strDesktopName;
  QString m_strDefaultUserID;
  uint16_t m_nDeviceType = 0;
};

// The one application object; null before it is made and after it is gone.
CTarnwickApp* GetTarnwickApp();
