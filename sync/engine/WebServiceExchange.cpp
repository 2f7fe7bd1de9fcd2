#include "sync/engine/WebServiceExchange.h"

#include "shared/RegistryHandler.h"
#include "shared/SyncStopBounds.h"
#include "shared/soap/SoapExchange.h"
#include "shared/soap/WebServiceAddress.h"
#include "sync/data/SyncSettings.h"

#include <cstdio>

namespace {

// A code from the member's table, or -1 where the table says so.
int Offset(int code, int by) { return code < 0 ? -1 : code + by; }

// Fills the request's target and proxy from the stored settings; false (after logging) when
// either cannot be used.
bool PrepareRequest(const ExchangeMember& member, soap::ExchangeRequest* request) {
  QString url;
  QString error;
  syncservice::GetWebServiceUrl(&url);
  if (!syncservice::CrackWebServiceUrl(url, &request->server, &request->object, &request->port, &error)) {
    member.log(member.splitCode, error);
    return false;
  }
  request->object += QStringLiteral("service.asmx");
  request->transport = WebServiceTransport(url);
  ConnSettings settings;
  if (GetRegistryHandler()->ReadConnSettings(&settings) != 0) {
    member.log(-1, member.tag + QStringLiteral(" Problem in Connection Settings."));
    return false;
  }
  if (settings.useProxy == 1) {
    request->useProxy = true;
    request->proxyName =
        QStringLiteral("%1:%2").arg(QString::fromUtf8(settings.proxyServer)).arg(settings.proxyPort);
    request->proxyUser = QString::fromUtf8(settings.proxyUser);
    request->proxyPassword = QString::fromUtf8(settings.proxyPassword);
    member.log(-1, member.tag + QStringLiteral(" Proxy Connection Settings are Enabled."));
  }
  if (member.setReceiveTimeout) request->receiveTimeoutMs = static_cast<int>(syncbounds::kDataExchangeLimit.count());
  request->abandon = member.stopRequested;
  request->abandonOnceSent = member.abandonOnceSent;
  return true;
}

// The lines of the steps that went through, then those of the failing one.
void LogSteps(const ExchangeMember& member, const soap::ExchangeOutcome& outcome) {
  const int failed = outcome.failure == soap::Failure::None ? 3 : static_cast<int>(outcome.step);
  if (member.logSuccessLines) {
    for (int step = 0; step < failed; ++step) member.log(-1, soap::SuccessText(static_cast<soap::Step>(step)));
  }
  if (failed == 3) return;
  if (outcome.failure == soap::Failure::NoObject) {
    member.log(member.noObjectCodes.At(outcome.step), soap::NoObjectText(outcome.step));
    return;
  }
  // Only the HTTP layer's own exceptions carry the member's codes.
  const int code =
      outcome.failure == soap::Failure::InternetException ? member.exceptionCodes.At(outcome.step) : -1;
  member.log(code, soap::ExceptionText(outcome.step));
  member.log(Offset(code, 1), soap::ExceptionMessage(outcome));
}

}  // namespace

int StepCodes::At(soap::Step step) const {
  switch (step) {
    case soap::Step::Connection: return connection;
    case soap::Step::Request: return request;
    case soap::Step::Send: return send;
  }
  return -1;
}

int RunExchange(const ExchangeMember& member, const QByteArray& body, QString* answer, bool* outcomeUnknown) {
  soap::ExchangeRequest request;
  if (!PrepareRequest(member, &request)) return -1;
  request.body = body;
  request.headers = soap::ContentTypeHeader(body.size());

  const soap::ExchangeOutcome outcome = soap::Exchange(request);
  LogSteps(member, outcome);
  if (outcome.failure != soap::Failure::None) {
    if (outcomeUnknown != nullptr) *outcomeUnknown = outcome.requestWentOut;
    return soap::FailureCode(outcome.step, outcome.failure);
  }

  platform::HttpFile* file = outcome.file.get();
  uint32_t status = 0;
  if (!file->QueryInfoStatusCode(&status)) {
    member.log(member.statusQueryCode, soap::StatusQueryFailedText());
    return -5;
  }
  if (status != 200) {
    const QStringList lines = soap::StatusFailureLines(file, status);
    for (int i = 0; i < lines.size(); ++i) member.log(Offset(member.statusLinesCode, i), lines[i]);
    return -1;
  }
  *answer = soap::ReadAnswerLogged(file, member.log);
  std::printf("\n%s\n", answer->toUtf8().constData());
  std::fflush(stdout);
  return 1;
}
