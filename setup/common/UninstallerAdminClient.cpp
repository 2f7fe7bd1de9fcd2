#include "setup/common/UninstallerAdminClient.h"

#include "platform/widgets/MessageBox.h"
#include "setup/common/AdminServiceClient.h"
#include "setup/common/SetupProgress.h"
#include "shared/RegistryHandler.h"
#include "shared/crypto/Base64.h"

#include <utility>

namespace {

const QString kSuccess = QStringLiteral("Success");

}  // namespace

CUninstallerAdminClient::CUninstallerAdminClient(AdminEndpoint endpoint, QString desktopName, SetupLogSink log,
                                                 SetupProgress* progress)
    : endpoint_(std::move(endpoint)), desktopName_(std::move(desktopName)), log_(std::move(log)), progress_(progress) {}

int CUninstallerAdminClient::Exchange(AdminOperation operation, const QByteArray& data, QString* result) {
  AdminExchangeSettings settings;
  settings.program = SetupProgram::Uninstaller;
  settings.endpoint = endpoint_;
  // A record that cannot be read leaves the direct transport.
  GetRegistryHandler()->ReadConnSettings(&settings.connection);
  settings.receiveTimeoutMs = receiveTimeoutMs_;
  settings.log = log_;
  return RunAdminExchange(settings, operation, AdminRequestBody(operation, desktopName_, data), result);
}

int CUninstallerAdminClient::UnInstallDesktopFromAdminService(const QByteArray& data, QString* result) {
  return Exchange(AdminOperation::UninstallDesktop, data, result);
}

int CUninstallerAdminClient::InstallDesktopOnAdminService(const QByteArray& data, QString* result) {
  return Exchange(AdminOperation::InstallDesktop, data, result);
}

void CUninstallerAdminClient::ReportConnectionProblem() {
  platform::MessageBox(nullptr, QStringLiteral("Problem in uninstalling Tarnwick Plus Lite, Please check internet connection."),
                       QStringLiteral("Tarnwick Plus Lite"), platform::MB_ICONERROR);
}

int CUninstallerAdminClient::UnInstallAdmin(QString* reply) {
  const QByteArray data = Base64Encode(databuffer::UninstallDesktopRecord(AdminRecordHeader().appName));
  QString result;
  // Only an answer holding "Success" withdrew the desktop: a refusal leaves it registered.
  const auto withdrawn = [&] {
    return UnInstallDesktopFromAdminService(data, &result) == 1 && result.contains(kSuccess);
  };
  const bool completed = withdrawn() || withdrawn();
  progress_->StepProgress(10);
  if (!completed) {
    log_(QStringLiteral("Problem in removing customer, internet connection failed."));
    ReportConnectionProblem();
    return -2;
  }
  log_(QStringLiteral("Customer Removed successfully."));
  if (reply) *reply = result;
  return 0;
}

int CUninstallerAdminClient::InstallAdmin(databuffer::Reply* reply) {
  const QByteArray data = Base64Encode(databuffer::InstallDesktopRecord(AdminRecordHeader(), desktopName_));
  QString result;
  const bool completed = InstallDesktopOnAdminService(data, &result) == 1;
  databuffer::Reply record{kUnreadableReplyStatus, QString()};
  if (completed) {
    QString refusal;
    if (const auto read = databuffer::ReadReply(Base64Decode(result.toLatin1()), &refusal)) {
      record = *read;
    } else {
      log_(refusal);
    }
    if (record.status != 0) {
      log_(QStringLiteral("Error on customer add."));
      log_(record.text);
    } else {
      log_(QStringLiteral("Customer Added successfully."));
    }
  }
  progress_->StepProgress(10);
  if (!completed) {
    ReportConnectionProblem();
    return -2;
  }
  if (reply) *reply = record;
  return 0;
}
