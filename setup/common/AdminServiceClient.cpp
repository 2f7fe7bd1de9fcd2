#include "setup/common/AdminServiceClient.h"

#include "setup/common/ServiceCheck.h"
#include "shared/crypto/Base64.h"
#include "shared/soap/SoapExchange.h"

#include <utility>

bool SplitWebServiceUrl(const QString& address, WebServiceAddress* parts, QString* error) {
  int code = 0;
  if (SplitWebServiceAddress(address, parts, &code)) return true;
  *error = QStringLiteral("<InternetCrackUrl> Error Code : %1").arg(code);
  return false;
}

CAdminServiceClient::CAdminServiceClient(const SetupServiceState& state, SetupLogSink log)
    : state_(state), log_(std::move(log)) {}

QByteArray CAdminServiceClient::BuildGetWebUrlRequest() const {
  const AdminRecordHeader& h = state_.header;
  log_(QStringLiteral("AppType<%1>, AppName<%2>, DeviceType<%3>, WebServiceVersion<%4>")
           .arg(h.appType)
           .arg(h.appName)
           .arg(h.deviceType)
           .arg(h.webServiceVersion));
  return databuffer::GetWebUrlRecord(h);
}

QByteArray CAdminServiceClient::BuildInstallDesktopRequest() const {
  const AdminRecordHeader& h = state_.header;
  log_(QStringLiteral("AppType<%1>, AppName<%2>, DeviceType<%3>, WebServiceVersion<%4>, DeviceID<%5>")
           .arg(h.appType)
           .arg(h.appName)
           .arg(h.deviceType)
           .arg(h.webServiceVersion, state_.deviceId));
  return databuffer::InstallDesktopRecord(h, state_.deviceId);
}

QByteArray CAdminServiceClient::BuildUninstallDesktopRequest() const {
  log_(QStringLiteral("AppName<%1>, NoOfDevices<%2>").arg(state_.header.appName).arg(0));
  return databuffer::UninstallDesktopRecord(state_.header.appName);
}

int CAdminServiceClient::RecordCycle(const QString& name, AdminOperation operation, const QByteArray& record,
                                     uint16_t* status, QString* text) const {
  const QByteArray data = Base64Encode(record);
  log_(QStringLiteral("In %1, Send B64Length : %2.").arg(name).arg(data.size()));
  QString result;
  if (Exchange(operation, data, &result) != 1) return 0;
  log_(QStringLiteral("In %1, Recieved B64Length : %2.").arg(name).arg(result.size()));
  const QByteArray decoded = Base64Decode(result.toLatin1());
  log_(QStringLiteral("In %1, DLength : %2.").arg(name).arg(decoded.size()));
  QString refusal;
  const std::optional<databuffer::Reply> reply = databuffer::ReadReply(decoded, &refusal);
  if (!reply) {
    log_(QStringLiteral("In %1, ").arg(name) + refusal);
    *status = kUnreadableReplyStatus;
    text->clear();
    return 1;
  }
  *status = reply->status;
  *text = reply->text;
  return 1;
}

int CAdminServiceClient::GetWebServiceURL(uint16_t* status, QString* address) const {
  return RecordCycle(QStringLiteral("GetWebServiceURL"), AdminOperation::GetWebUrl, BuildGetWebUrlRequest(), status,
                     address);
}

int CAdminServiceClient::InstallAdmin(uint16_t* status, QString* message) const {
  return RecordCycle(QStringLiteral("InstallAdmin"), AdminOperation::InstallDesktop, BuildInstallDesktopRequest(),
                     status, message);
}

int CAdminServiceClient::UnInstallAdmin(QString* reply) const {
  const QByteArray data = Base64Encode(BuildUninstallDesktopRequest());
  log_(QStringLiteral("In UnInstallAdmin, Send B64Length : %1.").arg(data.size()));
  if (UnInstallDesktopFromAdminService(data, reply) != 1) return 0;
  log_(QStringLiteral("In UnInstallAdmin, Recieved Length : %1.").arg(reply->size()));
  return 1;
}

int CAdminServiceClient::Exchange(AdminOperation operation, const QByteArray& data, QString* result) const {
  AdminExchangeSettings settings;
  settings.program = SetupProgram::Installer;
  settings.endpoint = state_.adminService;
  settings.connection = state_.connection;
  settings.receiveTimeoutMs = state_.receiveTimeoutMs;
  settings.log = log_;
  return RunAdminExchange(settings, operation, AdminRequestBody(operation, state_.desktopName, data), result);
}

int CAdminServiceClient::GetWebURLFromAdminService(const QByteArray& data, QString* result) const {
  return Exchange(AdminOperation::GetWebUrl, data, result);
}

int CAdminServiceClient::InstallDesktopOnAdminService(const QByteArray& data, QString* result) const {
  return Exchange(AdminOperation::InstallDesktop, data, result);
}

int CAdminServiceClient::UnInstallDesktopFromAdminService(const QByteArray& data, QString* result) const {
  return Exchange(AdminOperation::UninstallDesktop, data, result);
}

namespace {

ServiceCheck WebServiceCheck(const SetupServiceState& state, bool post) {
  ServiceCheck check;
  check.mark = post ? QStringLiteral("Type 2") : QStringLiteral("Type 1");
  check.tag = post ? QStringLiteral("<TestPostDataWebServiceCall>") : QStringLiteral("<TestGetDataWebServiceCall>");
  check.post = post;
  check.host = state.webService.host;
  check.port = state.webService.port;
  check.transport = state.webService.transport;
  check.object = post ? state.webService.path : state.webService.path + QStringLiteral("/GetDataTest");
  if (post) check.body = soap::GetDataTestBody();
  if (state.connection.useProxy == 1) {
    check.useProxy = true;
    check.proxyName = ProxyName(state.connection);
    check.proxyUser = QString::fromUtf8(state.connection.proxyUser);
    check.proxyPassword = QString::fromUtf8(state.connection.proxyPassword);
  }
  return check;
}

}  // namespace

int CAdminServiceClient::TestGetDataWebServiceCall(uint32_t* status) const {
  return RunServiceCheck(WebServiceCheck(state_, false), log_, status);
}

int CAdminServiceClient::TestPostDataWebServiceCall(uint32_t* status) const {
  return RunServiceCheck(WebServiceCheck(state_, true), log_, status);
}
