#pragma once

#include "platform/os/Internet.h"
#include "setup/common/SetupLog.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>

// The setup programs' test that a service answers its GetDataTest operation, by HTTP GET or by
// SOAP POST, directly or through a proxy. Every checkpoint is logged with the check's mark
// ("Type 1" for the GET, "Type 2" for the POST; ":P" added through a proxy).
struct ServiceCheck {
  QString mark;  // "Type 1", "Type 2", "Type 1:P", "Type 2:P"
  QString tag;   // the log tag of the transport line, "<TestGetDataWebServiceCall>"
  bool post = false;
  QString host;
  uint16_t port = 80;
  QString object;   // the path the request asks for
  QByteArray body;  // the SOAP request of a POST
  platform::Transport transport = platform::Transport::Plain;
  bool useProxy = false;
  QString proxyName;  // "host:port"
  QString proxyUser;
  QString proxyPassword;
  std::function<void()> stageDone;  // after each stage: connection, request, send, status, reading
};

// 1 when the service answered status 200 with "ok" in its text; -1 another status or text;
// -2, -3, -4 no connection, request or sending; -5 no status; -21, -31, -41 a failure of the
// exchange while connecting, opening or sending. `status` receives the HTTP status, 0 when none.
int RunServiceCheck(const ServiceCheck& check, const SetupLogSink& log, uint32_t* status);
