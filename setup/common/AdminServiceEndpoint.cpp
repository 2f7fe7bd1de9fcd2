#include "setup/common/AdminServiceEndpoint.h"

#include <QLocale>

namespace {

AdminEndpoint BuildEndpoint() {
  AdminEndpoint endpoint;
  endpoint.host = QStringLiteral(TARNWICK_ADMIN_SERVICE_HOST);
  endpoint.port = TARNWICK_ADMIN_SERVICE_PORT;
  return endpoint;
}

}  // namespace

bool ParseAdminEndpoint(const QString& text, AdminEndpoint* endpoint) {
  const qsizetype colon = text.lastIndexOf(u':');
  const QString host = colon < 0 ? text : text.left(colon);
  uint16_t port = 80;
  if (colon >= 0) {
    bool ok = false;
    const uint number = QLocale::c().toUInt(text.mid(colon + 1), &ok);
    if (!ok || number < 1 || number > 65535) return false;
    port = static_cast<uint16_t>(number);
  }
  if (host.isEmpty()) return false;
  endpoint->host = host;
  endpoint->port = port;
  return true;
}

AdminEndpoint DefaultAdminEndpoint() {
  AdminEndpoint endpoint = BuildEndpoint();
  const QString setting = qEnvironmentVariable(kAdminServiceVariable);
  if (!setting.isEmpty()) ParseAdminEndpoint(setting, &endpoint);
  return endpoint;
}
