#include "setup/common/ServiceCheck.h"

#include "shared/soap/SoapExchange.h"

namespace {

constexpr qsizetype kMaxExceptionText = 1023;

soap::ExchangeRequest CheckRequest(const ServiceCheck& check) {
  soap::ExchangeRequest request;
  request.server = check.host;
  request.port = check.port;
  request.verb = check.post ? QStringLiteral("POST") : QStringLiteral("GET");
  request.object = check.object;
  request.cache = platform::CachePolicy::Reload;
  request.transport = check.transport;
  request.useProxy = check.useProxy;
  request.proxyName = check.proxyName;
  request.proxyUser = check.proxyUser;
  request.proxyPassword = check.proxyPassword;
  if (check.post) {
    request.body = check.body;
    request.headers = soap::ContentTypeHeader(check.body.size());
  }
  return request;
}

class CheckLog {
 public:
  CheckLog(const ServiceCheck& check, const SetupLogSink& log) : check_(check), log_(log) {}

  void Problem(const QString& point) const {
    // The GET's first checkpoint has always been written with two blanks.
    const bool doubleBlank = !check_.post && point == u"<1>.";
    log_(QStringLiteral("Problem in") + (doubleBlank ? QStringLiteral("  ") : QStringLiteral(" ")) +
         QStringLiteral("Checking Service Connection<") + check_.mark + QStringLiteral("> ") + point);
  }
  void Line(const QString& text) const { log_(text); }
  QString Mark() const { return u'<' + check_.mark + u'>'; }

 private:
  const ServiceCheck& check_;
  const SetupLogSink& log_;
};

void StageDone(const ServiceCheck& check) {
  if (check.stageDone) check.stageDone();
}

int StepFailure(const ServiceCheck& check, const CheckLog& log, const soap::ExchangeOutcome& outcome) {
  const int step = static_cast<int>(outcome.step);
  for (int passed = 0; passed < step; ++passed) StageDone(check);
  if (outcome.failure == soap::Failure::NoObject) {
    log.Problem(QStringLiteral("<%1>.").arg(1 + 2 * step));
    return -2 - step;
  }
  log.Problem(QStringLiteral("<%1><%2>.").arg(2 + 2 * step).arg(soap::ExceptionMessage(outcome).left(kMaxExceptionText)));
  return -21 - 10 * step;
}

}  // namespace

int RunServiceCheck(const ServiceCheck& check, const SetupLogSink& sink, uint32_t* status) {
  const CheckLog log(check, sink);
  log.Line(QStringLiteral("Checking Service Connection") + log.Mark() + QStringLiteral("..."));
  log.Line(check.tag + (check.useProxy ? QStringLiteral(" Proxy Connection Settings are Enabled.")
                                       : QStringLiteral(" No Proxy Connection Settings are Enabled.")));
  *status = 0;
  const soap::ExchangeOutcome outcome = soap::Exchange(CheckRequest(check));
  if (outcome.failure != soap::Failure::None) return StepFailure(check, log, outcome);
  for (int stage = 0; stage < 3; ++stage) StageDone(check);

  platform::HttpFile* file = outcome.file.get();
  if (!file->QueryInfoStatusCode(status)) {
    log.Problem(QStringLiteral("<7>."));
    return -5;
  }
  StageDone(check);
  if (*status != 200) {
    QString statusText;
    file->QueryInfo(platform::HttpInfo::StatusText, &statusText);
    log.Problem(QStringLiteral("<8><") + statusText + QStringLiteral(">."));
    return -1;
  }
  QString contentLength;
  const bool lengthKnown = file->QueryInfo(platform::HttpInfo::ContentLength, &contentLength);
  log.Line(QStringLiteral("Service Length of file : %1 ").arg(file->GetLength()) + log.Mark() + QStringLiteral(" <8.2>"));
  if (!lengthKnown) log.Problem(QStringLiteral("<8.2> : <%1>").arg(file->LastError()));
  const QByteArray bytes = soap::ReadAnswer(file);
  log.Line(QStringLiteral("Size ") + log.Mark() + QStringLiteral(" <8.2> : %1").arg(bytes.size()));
  const QString answer = QString::fromUtf8(bytes);
  StageDone(check);
  if (answer.contains(QStringLiteral("ok"))) return 1;
  log.Line(QStringLiteral("Response ") + log.Mark() + QStringLiteral(" <8.2> : ") + answer);
  return -1;
}
