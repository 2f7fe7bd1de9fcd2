#pragma once

#include "tests/support/DoubleProcess.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace testsupport {

// The administration service's test double (adminservice_double.py) in a child process on a
// free loopback port. Stopped with the object.
class AdminServiceDouble {
 public:
  // `webServiceUrl`: the address its GetWebUrl hands out.
  explicit AdminServiceDouble(const QString& webServiceUrl = QString());

  bool Started() const { return port_ != 0; }
  QString Error() const { return process_.Error(); }
  uint16_t Port() const { return port_; }

  QJsonObject Command(const QJsonObject& command) { return process_.Command(command); }

  // Answers the next `count` calls of `operation` (every call when count is 0) with the fault
  // `kind` (see the double); `extra` adds fields such as "status", "message", "text", "seconds".
  void SetFault(const QString& operation, const QString& kind, int count = 0, const QJsonObject& extra = {});
  void SetWebServiceUrl(const QString& url);
  void Enter(const QString& desktopId, const QString& deviceId);

  // The register {DesktopID: DeviceID}.
  QJsonObject Desktops();
  // Every request: "requestLine", "headers", "body" (base64), and "operation", "desktopId",
  // "record" as the double read them.
  QJsonArray Requests();
  // Every check a request failed; empty when all were well formed.
  QStringList Errors();

 private:
  DoubleProcess process_;
  uint16_t port_ = 0;
};

}  // namespace testsupport
