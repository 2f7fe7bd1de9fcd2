#include "setup/common/AdminServiceExchange.h"

#include "shared/soap/SoapExchange.h"

#include <exception>

namespace {

constexpr qsizetype kMaxExceptionText = 1023;

soap::ExchangeRequest PostRequest(const AdminExchangeSettings& settings, const QByteArray& body) {
  soap::ExchangeRequest request;
  request.server = settings.endpoint.host;
  request.port = settings.endpoint.port;
  request.object = settings.endpoint.path;
  request.receiveTimeoutMs = settings.receiveTimeoutMs;
  request.body = body;
  request.headers = soap::ContentTypeHeader(body.size());
  if (settings.connection.useProxy == 1) {
    // The record's user and password are the proxy's; the service itself asks for none.
    request.useProxy = true;
    request.proxyName = ProxyName(settings.connection);
    request.proxyUser = QString::fromUtf8(settings.connection.proxyUser);
    request.proxyPassword = QString::fromUtf8(settings.connection.proxyPassword);
  }
  return request;
}

void LogTransport(const AdminExchangeSettings& settings, const QString& tag) {
  const bool installer = settings.program == SetupProgram::Installer;
  if (settings.connection.useProxy == 1) {
    settings.log((installer ? u'<' + tag + u'>' : QStringLiteral("<SendDataOverHTTP>")) +
                 QStringLiteral(" Proxy Connection Settings are Enabled."));
  } else if (installer) {
    settings.log(u'<' + tag + QStringLiteral("> No Proxy Connection Settings are Enabled."));
  }
}

// The lines of the steps that went through, then those of the failing one.
void LogSteps(const SetupLogSink& log, const soap::ExchangeOutcome& outcome) {
  const bool failed = outcome.failure != soap::Failure::None;
  const int passed = failed ? static_cast<int>(outcome.step) : 3;
  for (int step = 0; step < passed; ++step) log(soap::SuccessText(static_cast<soap::Step>(step)));
  if (!failed) return;
  if (outcome.failure == soap::Failure::NoObject) {
    log(soap::NoObjectText(outcome.step));
    return;
  }
  log(soap::ExceptionText(outcome.step));
  log(soap::ExceptionMessage(outcome).left(kMaxExceptionText));
}

bool QueryStatus(platform::HttpFile* file, uint32_t* status) {
  try {
    return file->QueryInfoStatusCode(status);
  } catch (...) {
    return false;
  }
}

std::optional<QString> ReadBody(platform::HttpFile* file, const SetupLogSink& log) {
  try {
    return soap::ReadAnswerLogged(file, [&log](int, const QString& text) { log(text); });
  } catch (const std::exception& e) {
    log(QStringLiteral("Problem in reading the answer : ") + QString::fromUtf8(e.what()));
  } catch (...) {
    log(QStringLiteral("Problem in reading the answer : Exception (...)"));
  }
  return std::nullopt;
}

QString ResultElement(AdminOperation operation) { return OperationName(operation) + QStringLiteral("Result"); }

// The installer finds the start tag; a result without its end tag is empty.
int InstallerResult(const SetupLogSink& log, AdminOperation operation, const QString& answer, QString* result) {
  const soap::Result found = soap::FindResult(answer, ResultElement(operation), false);
  if (found.kind == soap::Result::Missing) {
    log(QStringLiteral("In ") + ExchangeName(operation) + QStringLiteral(", Result : ") + answer);
    return -1;
  }
  *result = found.text;
  return 1;
}

int UninstallerResult(const SetupLogSink& log, AdminOperation operation, const QString& answer, QString* result) {
  const QString prefix = QStringLiteral("In SendData, Send Request Result : ");
  const soap::Result found = soap::FindResult(answer, ResultElement(operation));
  if (found.kind == soap::Result::Missing) {
    log(prefix + answer);
    if (const std::optional<QString> reason = soap::FindFaultReason(answer)) log(prefix + *reason);
    return -1;
  }
  *result = found.text;
  if (found.kind != soap::Result::Text) return 1;
  if (operation == AdminOperation::UninstallDesktop && found.text.contains(QStringLiteral("Success"))) {
    log(QStringLiteral("Customer Removed successfully."));
  }
  log(prefix + found.text);
  return 1;
}

}  // namespace

QString ProxyName(const ConnSettings& connection) {
  return QStringLiteral("%1:%2").arg(QString::fromUtf8(connection.proxyServer)).arg(connection.proxyPort);
}

int RunAdminExchange(const AdminExchangeSettings& settings, AdminOperation operation, const QByteArray& body,
                     QString* result) {
  result->clear();
  LogTransport(settings, ExchangeName(operation));
  const soap::ExchangeOutcome outcome = soap::Exchange(PostRequest(settings, body));
  LogSteps(settings.log, outcome);
  if (outcome.failure != soap::Failure::None) return soap::FailureCode(outcome.step, outcome.failure);

  platform::HttpFile* file = outcome.file.get();
  uint32_t status = 0;
  if (!QueryStatus(file, &status)) {
    settings.log(soap::StatusQueryFailedText());
    return -5;
  }
  if (status != 200) {
    for (const QString& line : soap::StatusFailureLines(file, status)) settings.log(line);
    return -1;
  }
  const std::optional<QString> answer = ReadBody(file, settings.log);
  if (!answer) return -1;
  return settings.program == SetupProgram::Installer ? InstallerResult(settings.log, operation, *answer, result)
                                                     : UninstallerResult(settings.log, operation, *answer, result);
}
