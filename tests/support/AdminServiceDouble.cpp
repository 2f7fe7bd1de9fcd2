#include "tests/support/AdminServiceDouble.h"

namespace testsupport {

AdminServiceDouble::AdminServiceDouble(const QString& webServiceUrl)
    : process_(QStringLiteral("adminservice_double.py"), {}) {
  port_ = static_cast<uint16_t>(process_.Hello().value(QStringLiteral("port")).toInt());
  if (port_ != 0 && !webServiceUrl.isEmpty()) SetWebServiceUrl(webServiceUrl);
}

void AdminServiceDouble::SetFault(const QString& operation, const QString& kind, int count, const QJsonObject& extra) {
  QJsonObject command = extra;
  command.insert(QStringLiteral("cmd"), QStringLiteral("fault"));
  command.insert(QStringLiteral("operation"), operation);
  command.insert(QStringLiteral("kind"), kind);
  if (count > 0) command.insert(QStringLiteral("count"), count);
  Command(command);
}

void AdminServiceDouble::SetWebServiceUrl(const QString& url) {
  Command({{QStringLiteral("cmd"), QStringLiteral("webServiceUrl")}, {QStringLiteral("url"), url}});
}

void AdminServiceDouble::Enter(const QString& desktopId, const QString& deviceId) {
  Command({{QStringLiteral("cmd"), QStringLiteral("enter")},
           {QStringLiteral("desktop"), desktopId},
           {QStringLiteral("device"), deviceId}});
}

QJsonObject AdminServiceDouble::Desktops() {
  return Command({{QStringLiteral("cmd"), QStringLiteral("desktops")}}).value(QStringLiteral("desktops")).toObject();
}

QJsonArray AdminServiceDouble::Requests() {
  return Command({{QStringLiteral("cmd"), QStringLiteral("requests")}}).value(QStringLiteral("requests")).toArray();
}

QStringList AdminServiceDouble::Errors() {
  QStringList errors;
  for (const QJsonValue& error :
       Command({{QStringLiteral("cmd"), QStringLiteral("errors")}}).value(QStringLiteral("errors")).toArray()) {
    errors.append(error.toString());
  }
  return errors;
}

}  // namespace testsupport
