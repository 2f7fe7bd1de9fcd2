#pragma once

#include "setup/common/AdminOperation.h"
#include "setup/common/SetupLog.h"
#include "shared/RegistryRecords.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

// Which setup program runs an exchange: the installer logs every step and reads its result as
// it finds the element's start tag; the uninstaller's twin logs less, accepts a self-closing
// result element and reports a fault's reason.
enum class SetupProgram { Installer, Uninstaller };

// Where the administration service answers.
struct AdminEndpoint {
  QString host;
  QString path = QStringLiteral("/AdminService/service.asmx");
  uint16_t port = 80;
};

struct AdminExchangeSettings {
  SetupProgram program = SetupProgram::Installer;
  AdminEndpoint endpoint;
  ConnSettings connection;              // its use-proxy flag 1 selects the proxy
  std::optional<int> receiveTimeoutMs;  // the HTTP layer's default when absent
  SetupLogSink log;
};

// One POST of `operation` with `body` (AdminRequestBody). 1 status 200 and a result element
// (its text in `result`); -1 another status, no result element or an answer that could not be
// read; -2, -3, -4 no connection, no request, not sent; -5 no status; -21/-51/-81,
// -31/-61/-91, -41/-71/-101 an exception while connecting, opening or sending, by kind.
int RunAdminExchange(const AdminExchangeSettings& settings, AdminOperation operation, const QByteArray& body,
                     QString* result);

// "host:port" of the connection record's proxy.
QString ProxyName(const ConnSettings& connection);
