#pragma once

#include "setup/common/AdminServiceExchange.h"
#include "setup/common/DataBuffer.h"
#include "setup/common/SetupLog.h"

#include <QByteArray>
#include <QString>

class SetupProgress;

// The uninstaller's client of the administration service: the desktop name from DeskInfo is
// both the DesktopID and the DeviceID, the proxy record is read from the registry before every
// exchange, and the session waits up to three minutes for an answer.
class CUninstallerAdminClient {
 public:
  static constexpr int kReceiveTimeoutMs = 180'000;

  CUninstallerAdminClient(AdminEndpoint endpoint, QString desktopName, SetupLogSink log, SetupProgress* progress);

  // Tests shorten the wait for an answer.
  void SetReceiveTimeout(int milliseconds) { receiveTimeoutMs_ = milliseconds; }

  // Withdraws the desktop, trying a second time when the first exchange does not complete or its
  // answer does not hold "Success". 0 withdrawn (`reply` holds the result text), -2 neither
  // attempt withdrew it (after the error box).
  int UnInstallAdmin(QString* reply = nullptr);
  // Enters the desktop again. 0 the exchange completed (`reply`, when given, holds the reply
  // record, kUnreadableReplyStatus when it cannot be read), -2 it did not (after the error box).
  int InstallAdmin(databuffer::Reply* reply = nullptr);

  // The POST exchanges; codes of RunAdminExchange.
  int UnInstallDesktopFromAdminService(const QByteArray& data, QString* result);
  int InstallDesktopOnAdminService(const QByteArray& data, QString* result);

 private:
  int Exchange(AdminOperation operation, const QByteArray& data, QString* result);
  void ReportConnectionProblem();

  AdminEndpoint endpoint_;
  QString desktopName_;
  SetupLogSink log_;
  SetupProgress* progress_;
  int receiveTimeoutMs_ = kReceiveTimeoutMs;
};
