#pragma once

#include "platform/os/Internet.h"
#include "setup/common/SetupLog.h"
#include "shared/RegistryRecords.h"

#include <QString>

#include <cstdint>

class SetupProgress;

// Where the hosted pages answer: the web service's host and port.
struct HostedPagesTarget {
  QString host;
  uint16_t port = 80;
  platform::Transport transport = platform::Transport::Plain;
  ConnSettings connection;  // its use-proxy flag 1 sends every page through the proxy
};

// The HTTP GET client of the hosted pages under "/iPhoneSTarnwickPWPLite/": registration of the
// desktop and the availability of a desktop name. Progress goes to the page or dialog that runs
// it; lines to the log it is given.
class CHostedPagesClient {
 public:
  CHostedPagesClient(HostedPagesTarget target, SetupLogSink log, SetupProgress* progress);

  // "/iPhoneSTarnwickPWPLite/AddNewDesktop.asp?..." with every value percent-encoded.
  static QString RegistrationPath(const QString& desktopName, const QString& devicePassword,
                                  const QString& deviceId, int deviceType);
  static QString AvailabilityPath(const QString& computerName);

  // 0 registered; -1 refused or an unknown reply; -2 no answer with status 200. The user is told
  // in a message box.
  int AddNewDesktopOnline(const QString& desktopName, const QString& devicePassword, const QString& deviceId,
                          int deviceType);

  // GET of `path` directly (honouring the environment's proxy) or through the record's proxy.
  // 1 status 200 and the reply read; -1 another status; -2, -3, -4 no connection, no request,
  // not sent; -5 no status; -21, -31, -41 a failed exchange while connecting or opening, while
  // sending, while reading.
  int PerformOnlineActivity(const QString& path, QString* reply, uint32_t* status);
  int PerformOnlineActivityWithProxy(const QString& path, QString* reply, uint32_t* status);

  // The availability question of a desktop name, through the proxy when the record says so:
  // 1 answered (the reply in `reply`), -111 no content length, -1 an empty reply or another
  // status, the other codes of PerformOnlineActivity.
  int CheckAvailability(const QString& computerName, QString* reply);

 private:
  // `exactLength`: the reply must announce its length (the availability question).
  int Get(const QString& path, bool viaProxy, bool exactLength, QString* reply, uint32_t* status);

  HostedPagesTarget target_;
  SetupLogSink log_;
  SetupProgress* progress_;
};
