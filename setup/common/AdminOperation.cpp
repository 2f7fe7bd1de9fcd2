#include "setup/common/AdminOperation.h"

#include "shared/soap/SoapExchange.h"

QString OperationName(AdminOperation operation) {
  switch (operation) {
    case AdminOperation::GetWebUrl: return QStringLiteral("GetWebUrl");
    case AdminOperation::InstallDesktop: return QStringLiteral("InstallDesktop");
    case AdminOperation::UninstallDesktop: return QStringLiteral("UninstallDesktop");
  }
  return {};
}

QString ExchangeName(AdminOperation operation) {
  switch (operation) {
    case AdminOperation::GetWebUrl: return QStringLiteral("GetWebURLFromAdminService");
    case AdminOperation::InstallDesktop: return QStringLiteral("InstallDesktopOnAdminService");
    case AdminOperation::UninstallDesktop: return QStringLiteral("UnInstallDesktopFromAdminService");
  }
  return {};
}

QByteArray AdminRequestBody(AdminOperation operation, const QString& desktopId, const QByteArray& base64) {
  const QByteArray name = OperationName(operation).toLatin1();
  return soap::Prologue() + '<' + name + " xmlns=\"AdminService\">      <DesktopID>" + soap::EscapeXml(desktopId) +
         "</DesktopID>      <DataBuffer>" + base64 + "</DataBuffer>    </" + name +
         ">  </soap:Body></soap:Envelope>";
}

QByteArray AdminGetDataTestBody() {
  return soap::Prologue() + "<GetDataTest xmlns=\"AdminService\" />" + "  </soap:Body></soap:Envelope>";
}
