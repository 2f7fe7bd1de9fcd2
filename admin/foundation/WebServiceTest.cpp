#include "admin/foundation/WebServiceTest.h"

#include "admin/foundation/AdminRegistry.h"
#include "admin/foundation/LogFile.h"
#include "shared/RegistryHandler.h"
#include "shared/soap/SoapExchange.h"
#include "shared/soap/WebServiceAddress.h"

using soap::Failure;
using soap::Step;

namespace {

const QString kStartUpTag = QStringLiteral("<GetDataTestWebServiceMethod>");

struct ServiceAddress {
  QString server;
  QString path;
  uint16_t port = 80;
  platform::Transport transport = platform::Transport::Plain;
};

soap::ExchangeRequest PostRequest(const ServiceAddress& address) {
  soap::ExchangeRequest request;
  request.server = address.server;
  request.port = address.port;
  request.transport = address.transport;
  request.object = address.path + QStringLiteral("service.asmx");
  request.body = soap::GetDataTestBody();
  request.headers = soap::ContentTypeHeader(request.body.size());
  return request;
}

soap::ExchangeRequest GetRequest(const ServiceAddress& address) {
  soap::ExchangeRequest request;
  request.server = address.server;
  request.port = address.port;
  request.transport = address.transport;
  request.verb = QStringLiteral("GET");
  request.object = address.path + QStringLiteral("service.asmx/GetDataTest");
  request.cache = platform::CachePolicy::Reload;
  return request;
}

void Through(soap::ExchangeRequest* request, const QString& proxyName, const QString& user,
             const QString& password) {
  request->useProxy = true;
  request->proxyName = proxyName;
  request->proxyUser = user;
  request->proxyPassword = password;
}

// Log codes of the step failures: the line of a missing object, and the pair of an exception.
struct StepCodes {
  int noObject;
  int exception;
  int message;
};

void LogStepFailure(CLogFile* log, const soap::ExchangeOutcome& outcome, const StepCodes (&codes)[3]) {
  const StepCodes& step = codes[static_cast<int>(outcome.step)];
  if (outcome.failure == Failure::NoObject) {
    log->WriteLog(step.noObject, soap::NoObjectText(outcome.step));
  } else {
    log->WriteLog(step.exception, soap::ExceptionText(outcome.step));
    log->WriteLog(step.message, soap::ExceptionMessage(outcome));
  }
}

// The exchange code when only HTTP-layer failures are told apart from missing objects.
int HttpLayerCode(const soap::ExchangeOutcome& outcome) {
  return soap::FailureCode(outcome.step, outcome.failure == Failure::NoObject
                                             ? Failure::NoObject
                                             : Failure::InternetException);
}

void LogStatusFailure(CLogFile* log, platform::HttpFile* file, uint32_t status, int firstCode) {
  const QStringList lines = soap::StatusFailureLines(file, status);
  for (int i = 0; i < lines.size(); ++i) log->WriteLog(firstCode < 0 ? -1 : firstCode + i, lines[i]);
}

// Logs the result element, or else the fault reason, of a GetDataTest answer.
void LogResult(CLogFile* log, const QString& answer, int resultCode, int faultCode,
               const QString& faultPrefix) {
  bool isFault = false;
  if (const auto line = soap::GetDataTestResultLine(answer, faultPrefix, &isFault)) {
    log->WriteLog(isFault ? faultCode : resultCode, *line);
  }
}

bool SplitStoredAddress(ServiceAddress* address, QString* error) {
  QString url;
  admin::GetWebServiceUrl(&url);
  address->transport = WebServiceTransport(url);
  return admin::CrackWebServiceUrl(url, &address->server, &address->path, &address->port, error);
}

// The proxy checks' own lines: the check's tag, then for a failure the kind of check and the
// point where it failed.
class ProxyCheck {
 public:
  ProxyCheck(CLogFile* log, bool get) : log_(log), get_(get) {}

  QString Tag() const {
    return get_ ? QStringLiteral("<TestGetDataWebServiceCallWithProxy>")
                : QStringLiteral("<TestPostDataWebServiceCallWithProxy>");
  }

  void Failed(int code, const QString& point) const {
    log_->WriteLog(code, Tag() + QStringLiteral(" Problem in Checking Connection") +
                             (get_ ? QStringLiteral("<Type 1:P> ") : QStringLiteral("<Type 2:P> ")) +
                             point);
  }

  void StepFailed(const soap::ExchangeOutcome& outcome) const {
    const int step = static_cast<int>(outcome.step);  // points 1/2, 3/4, 5/6
    if (outcome.failure == Failure::NoObject) {
      Failed(2 + 2 * step, QStringLiteral("<%1>.").arg(1 + 2 * step));
    } else {
      Failed(3 + 2 * step, QStringLiteral("<%1><%2>.").arg(2 + 2 * step).arg(soap::ExceptionMessage(outcome)));
    }
  }

  int Run(const QString& proxyName, const QString& user, const QString& password, uint32_t* httpStatus);

 private:
  CLogFile* log_;
  bool get_;
};

int ProxyCheck::Run(const QString& proxyName, const QString& user, const QString& password,
                    uint32_t* httpStatus) {
  *httpStatus = 0;
  log_->WriteLog(1, get_ ? Tag() + QStringLiteral(" Checking Connection with Proxy ...")
                         : Tag() + QStringLiteral(" Checking Connection Proxy..."));
  ServiceAddress address;
  QString error;
  if (!SplitStoredAddress(&address, &error)) {
    log_->WriteLog(get_ ? -16 : -18, error);
    return -1;
  }
  soap::ExchangeRequest request = get_ ? GetRequest(address) : PostRequest(address);
  Through(&request, proxyName, user, password);
  const soap::ExchangeOutcome outcome = soap::Exchange(request);
  if (outcome.failure != Failure::None) {
    StepFailed(outcome);
    return HttpLayerCode(outcome);
  }
  platform::HttpFile* file = outcome.file.get();
  if (!file->QueryInfoStatusCode(httpStatus)) {
    Failed(8, QStringLiteral("<7>."));
    return -5;
  }
  if (*httpStatus != 200) {
    const QStringList lines = soap::StatusFailureLines(file, *httpStatus);
    Failed(9, QStringLiteral("<8><%1>.").arg(lines[2]));      // the status text
    Failed(10, QStringLiteral("<8.1><%1>.").arg(lines[4]));   // the raw headers
    return -1;
  }
  QString contentLength;
  const bool lengthKnown = file->QueryInfo(platform::HttpInfo::ContentLength, &contentLength);
  log_->WriteLog(-1, Tag() + QStringLiteral(" Length of file : %1").arg(file->GetLength()));
  if (!lengthKnown) Failed(11, QStringLiteral("<8.2> : <%1>").arg(file->LastError()));
  const QByteArray bytes = soap::ReadAnswer(file);
  log_->WriteLog(-1, Tag() + QStringLiteral(" Number of bytes read = %1").arg(bytes.size()));
  const QString answer = QString::fromUtf8(bytes);
  log_->WriteLog(-1, Tag() + QStringLiteral(" Response = ") + answer);
  return answer.contains(QStringLiteral("ok")) ? 1 : -1;
}

}  // namespace

namespace admin {

bool CrackWebServiceUrl(const QString& address, QString* server, QString* path, uint16_t* port,
                        QString* error) {
  WebServiceAddress parts;
  int code = 0;
  if (!SplitWebServiceAddress(address, &parts, &code)) {
    *error = QStringLiteral("Error Code : %1.").arg(code);
    return false;
  }
  *server = parts.host;
  *path = parts.path;
  *port = parts.port;
  return true;
}

}  // namespace admin

int TestWebService(CLogFile* log, const QString& address) {
  ServiceAddress parts;
  QString error;
  if (!admin::CrackWebServiceUrl(address, &parts.server, &parts.path, &parts.port, &error)) {
    log->WriteLog(-14, error);
    return -1;
  }
  parts.transport = WebServiceTransport(address);
  const soap::ExchangeRequest request = PostRequest(parts);
  log->WriteLog(139, QStringLiteral("In WebService URL, Server : %1, Port : %2, PostURI : %3")
                         .arg(parts.server)
                         .arg(parts.port)
                         .arg(request.object));
  const soap::ExchangeOutcome outcome = soap::Exchange(request);
  if (outcome.failure != Failure::None) {
    LogStepFailure(log, outcome, {{140, 141, 142}, {143, 144, 145}, {147, 148, 149}});
    return HttpLayerCode(outcome);
  }
  platform::HttpFile* file = outcome.file.get();
  LogResult(log, QString::fromUtf8(soap::ReadAnswer(file)), 150, 151,
            QStringLiteral("In TestWebService, Send Request Result : "));
  uint32_t status = 0;
  if (!file->QueryInfoStatusCode(&status)) {
    log->WriteLog(152, soap::StatusQueryFailedText());
    return 251;
  }
  if (status != 200) {
    LogStatusFailure(log, file, status, 153);
    return 255;
  }
  return 1;
}

int TestGetDataWebServiceCallWithProxy(CLogFile* log, const QString& proxyName,
                                       const QString& proxyUser, const QString& proxyPassword,
                                       uint32_t* httpStatus) {
  return ProxyCheck(log, true).Run(proxyName, proxyUser, proxyPassword, httpStatus);
}

int TestPostDataWebServiceCallWithProxy(CLogFile* log, const QString& proxyName,
                                        const QString& proxyUser, const QString& proxyPassword,
                                        uint32_t* httpStatus) {
  return ProxyCheck(log, false).Run(proxyName, proxyUser, proxyPassword, httpStatus);
}

namespace admin {

int GetDataTestWebServiceMethod(CLogFile* log) {
  log->WriteLog(-1, kStartUpTag + QStringLiteral(" Test Web Service Connection."));
  ServiceAddress address;
  QString error;
  if (!SplitStoredAddress(&address, &error)) {
    log->WriteLog(-1, error);
    return -1;
  }
  ConnSettings settings;
  if (GetRegistryHandler()->ReadConnSettings(&settings) != 0) {
    log->WriteLog(-1, kStartUpTag + QStringLiteral(" Problem in Connection Settings."));
    return -1;
  }
  soap::ExchangeRequest request = PostRequest(address);
  if (settings.useProxy == 1) {
    Through(&request,
            QStringLiteral("%1:%2").arg(QString::fromUtf8(settings.proxyServer)).arg(settings.proxyPort),
            QString::fromUtf8(settings.proxyUser), QString::fromUtf8(settings.proxyPassword));
    log->WriteLog(-1, kStartUpTag + QStringLiteral(" Proxy Connection Settings are Enabled."));
  }
  const soap::ExchangeOutcome outcome = soap::Exchange(request);
  if (outcome.failure != Failure::None) {
    LogStepFailure(log, outcome, {{-1, -1, -1}, {-1, -1, -1}, {-1, -1, -1}});
    return soap::FailureCode(outcome.step, outcome.failure);
  }
  platform::HttpFile* file = outcome.file.get();
  uint32_t status = 0;
  if (!file->QueryInfoStatusCode(&status)) {
    log->WriteLog(-1, soap::StatusQueryFailedText());
    return -5;
  }
  if (status != 200) {
    LogStatusFailure(log, file, status, -1);
    return -1;
  }
  const QString answer =
      soap::ReadAnswerLogged(file, [log](int code, const QString& text) { log->WriteLog(code, text); });
  LogResult(log, answer, -1, -1, QStringLiteral("In GetDataTestWebServiceMethod, Send Request Result : "));
  return 1;
}

}  // namespace admin
