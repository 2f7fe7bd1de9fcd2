#pragma once

#include "setup/common/AdminServiceExchange.h"
#include "setup/common/DataBuffer.h"
#include "setup/common/SetupLog.h"
#include "shared/RegistryRecords.h"
#include "shared/soap/WebServiceAddress.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

// What the installer's exchanges read of its install state.
struct SetupServiceState {
  AdminEndpoint adminService;
  AdminRecordHeader header;
  QString desktopName;  // the DesktopID of every request
  QString deviceId;     // the DeviceID of InstallDesktop
  ConnSettings connection;
  WebServiceAddress webService;  // taken apart from the address GetWebUrl gave
  std::optional<int> receiveTimeoutMs;  // the HTTP layer's default when absent
};

// The status a reply record that cannot be read stands for: a refusal, whatever the service meant.
inline constexpr uint16_t kUnreadableReplyStatus = 0xFFFF;

// Takes a web-service address apart; false with "<InternetCrackUrl> Error Code : %d" in `error`.
bool SplitWebServiceUrl(const QString& address, WebServiceAddress* parts, QString* error);

// The installer's client of the administration service and its tests of the web service. It
// reads the install state it is given (which outlives it) at every call and keeps nothing
// between calls; every line goes to the log it is given.
class CAdminServiceClient {
 public:
  CAdminServiceClient(const SetupServiceState& state, SetupLogSink log);

  QByteArray BuildGetWebUrlRequest() const;
  QByteArray BuildInstallDesktopRequest() const;
  QByteArray BuildUninstallDesktopRequest() const;

  // 1 when the exchange completed (status and address or message set; a reply record that cannot
  // be read is kUnreadableReplyStatus and logged), otherwise 0.
  int GetWebServiceURL(uint16_t* status, QString* address) const;
  int InstallAdmin(uint16_t* status, QString* message) const;
  // 1 with the result text as it stands when the exchange completed, otherwise 0.
  int UnInstallAdmin(QString* reply) const;

  // The POST exchanges with the Base64 record `data`; codes of RunAdminExchange.
  int GetWebURLFromAdminService(const QByteArray& data, QString* result) const;
  int InstallDesktopOnAdminService(const QByteArray& data, QString* result) const;
  int UnInstallDesktopFromAdminService(const QByteArray& data, QString* result) const;

  // The web service's GetDataTest by GET and by SOAP POST: 1 or a code of RunServiceCheck.
  int TestGetDataWebServiceCall(uint32_t* status) const;
  int TestPostDataWebServiceCall(uint32_t* status) const;

 private:
  int Exchange(AdminOperation operation, const QByteArray& data, QString* result) const;
  int RecordCycle(const QString& name, AdminOperation operation, const QByteArray& record, uint16_t* status,
                  QString* text) const;

  const SetupServiceState& state_;
  SetupLogSink log_;
};
