#include "shared/soap/SoapExchange.h"

#include <exception>

namespace soap {

namespace {

constexpr qint64 kReadChunk = 1023;

// Runs one step, turning what it throws into the outcome's failure.
template <typename StepFn>
bool RunStep(Step step, ExchangeOutcome* outcome, StepFn run) {
  outcome->step = step;
  try {
    if (run()) return true;
    outcome->failure = Failure::NoObject;
  } catch (const platform::InternetException& e) {
    outcome->failure = Failure::InternetException;
    outcome->message = e.ErrorMessage();
  } catch (const std::exception& e) {
    outcome->failure = Failure::OtherException;
    outcome->message = QString::fromUtf8(e.what());
  } catch (...) {
    outcome->failure = Failure::UnknownException;
  }
  return false;
}

std::unique_ptr<platform::InternetSession> OpenSession(const ExchangeRequest& request) {
  auto session = request.useProxy
                     ? std::make_unique<platform::InternetSession>(
                           request.proxyName, request.proxyUser, request.proxyPassword)
                     : std::make_unique<platform::InternetSession>();
  if (request.receiveTimeoutMs) session->SetReceiveTimeout(*request.receiveTimeoutMs);
  session->SetAbandonCheck(request.abandon);
  session->SetAbandonOnceSent(request.abandonOnceSent);
  return session;
}

}  // namespace

ExchangeOutcome Exchange(const ExchangeRequest& request) {
  ExchangeOutcome outcome;
  const auto session = OpenSession(request);
  std::unique_ptr<platform::HttpConnection> connection;
  std::unique_ptr<platform::HttpFile> file;
  const bool sent =
      RunStep(Step::Connection, &outcome, [&] {
        // The server's own credentials: none. A proxy's travel with the session.
        connection = session->GetHttpConnection(request.server, request.port, QString(), QString());
        return connection != nullptr;
      }) &&
      RunStep(Step::Request, &outcome, [&] {
        file = connection->OpenRequest(request.verb, request.object, request.cache, request.transport);
        return file != nullptr;
      }) &&
      RunStep(Step::Send, &outcome, [&] { return file->SendRequest(request.headers, request.body); });
  outcome.requestWentOut = file != nullptr && file->RequestWentOut();
  if (sent) outcome.file = std::move(file);
  return outcome;
}

int FailureCode(Step step, Failure failure) {
  const int index = static_cast<int>(step);  // 0, 1, 2
  switch (failure) {
    case Failure::None: return 1;
    case Failure::NoObject: return -2 - index;
    case Failure::InternetException: return -21 - 10 * index;
    case Failure::OtherException: return -51 - 10 * index;
    case Failure::UnknownException: return -81 - 10 * index;
  }
  return -1;
}

QString NoObjectText(Step step) {
  switch (step) {
    case Step::Connection: return QStringLiteral("CItnernetSession::GetHttpConnection() Failed (return NULL).");
    case Step::Request: return QStringLiteral("CHttpConnection::OpenRequest() Failed (return NULL).");
    case Step::Send: return QStringLiteral("CHttpFile::SendRequest() Failed (return FALSE).");
  }
  return QString();
}

QString SuccessText(Step step) {
  switch (step) {
    case Step::Connection: return QStringLiteral("CItnernetSession::GetHttpConnection() Success.");
    case Step::Request: return QStringLiteral("CHttpConnection::OpenRequest() Success.");
    case Step::Send: return QStringLiteral("CHttpFile::SendRequest() Success.");
  }
  return QString();
}

QString ExceptionText(Step step) {
  switch (step) {
    case Step::Connection: return QStringLiteral("Exception in CInternetSession::GetHttpConnection() call.");
    case Step::Request: return QStringLiteral("Exception in CHttpConnection::OpenRequest() call.");
    case Step::Send: return QStringLiteral("Exception in CHttpFile::SendRequest() call.");
  }
  return QString();
}

QString ExceptionMessage(const ExchangeOutcome& outcome) {
  return outcome.failure == Failure::UnknownException ? QStringLiteral("Exception (...)")
                                                       : outcome.message;
}

QString StatusQueryFailedText() {
  return QStringLiteral("CHttpFile::QueryInfoStatusCode() Failed (return FALSE).");
}

QStringList StatusFailureLines(platform::HttpFile* file, uint32_t status) {
  QString statusText;
  QString rawHeaders;
  file->QueryInfo(platform::HttpInfo::StatusText, &statusText);
  file->QueryInfo(platform::HttpInfo::RawHeaders, &rawHeaders);
  // One log line for the whole head.
  rawHeaders = rawHeaders.trimmed().replace(QStringLiteral("\r\n"), QStringLiteral(" "));
  return {QStringLiteral("CHttpFile::QueryInfoStatusCode() status : %1").arg(status),
          QStringLiteral("CHttpFile::QueryInfo(HTTP_QUERY_STATUS_TEXT)"), statusText,
          QStringLiteral("CHttpFile::QueryInfo(HTTP_QUERY_RAW_HEADERS)"), rawHeaders};
}

QByteArray ReadAnswer(platform::HttpFile* file) {
  QByteArray answer;
  char chunk[kReadChunk + 1];
  for (qint64 count; (count = file->Read(chunk, kReadChunk)) > 0;) answer.append(chunk, count);
  return answer;
}

QString ReadAnswerLogged(platform::HttpFile* file,
                         const std::function<void(int code, const QString& text)>& log) {
  QString contentLength;
  const bool lengthKnown = file->QueryInfo(platform::HttpInfo::ContentLength, &contentLength);
  log(-1, QStringLiteral("Length of file : %1").arg(file->GetLength()));
  if (!lengthKnown)
    log(-1, QStringLiteral("GetLastError() for CHttpFile::QueryInfo() is %1").arg(file->LastError()));
  const QByteArray answer = ReadAnswer(file);
  log(-1, QStringLiteral("Number of bytes read = %1").arg(answer.size()));
  return QString::fromUtf8(answer);
}

QByteArray Prologue() {
  return QByteArrayLiteral(
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
      "<soap:Envelope xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
      " xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\""
      " xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">"
      "  <soap:Body>    ");
}

QByteArray GetDataTestBody() {
  return Prologue() + "<GetDataTest xmlns=\"Tarnwick\"/>" + "  </soap:Body></soap:Envelope>";
}

QByteArray ContentTypeHeader(qsizetype bodyLength) {
  return "Content-Type: text/xml; charset=utf-8; Content-Length: " + QByteArray::number(bodyLength);
}

QByteArray EscapeXml(const QString& text) {
  QString escaped;
  escaped.reserve(text.size());
  for (const QChar c : text) {
    switch (c.unicode()) {
      case '&': escaped += QStringLiteral("&amp;"); break;
      case '<': escaped += QStringLiteral("&lt;"); break;
      case '>': escaped += QStringLiteral("&gt;"); break;
      case '"': escaped += QStringLiteral("&quot;"); break;
      case '\'': escaped += QStringLiteral("&apos;"); break;
      default: escaped += c;
    }
  }
  return escaped.toUtf8();
}

namespace {

// The text from the first `open` to the first `close` after it; nothing when either is missing.
std::optional<QString> TextBetween(const QString& answer, const QString& open, const QString& close) {
  const qsizetype start = answer.indexOf(open);
  if (start < 0) return std::nullopt;
  const qsizetype textStart = start + open.size();
  const qsizetype end = answer.indexOf(close, textStart);
  if (end < 0) return std::nullopt;
  return answer.mid(textStart, end - textStart);
}

}  // namespace

Result FindResult(const QString& answer, const QString& element, bool lookForEmptyElement) {
  Result result;
  const QString open = QLatin1Char('<') + element + QLatin1Char('>');
  if (lookForEmptyElement && answer.contains(QLatin1Char('<') + element + QStringLiteral(" />"))) {
    result.kind = Result::EmptyElement;
  } else if (answer.contains(open)) {
    const std::optional<QString> text =
        TextBetween(answer, open, QStringLiteral("</") + element + QLatin1Char('>'));
    result.kind = text ? Result::Text : Result::Unclosed;
    result.text = text.value_or(QString());
  }
  return result;
}

std::optional<QString> FindFaultReason(const QString& answer) {
  if (!answer.contains(QStringLiteral("<soap:Fault>"))) return std::nullopt;
  if (auto reason = TextBetween(answer, QStringLiteral("<soap:Reason><soap:Text xml:lang=\"en\">"),
                                QStringLiteral("</soap:Text></soap:Reason>"))) {
    return reason;
  }
  return TextBetween(answer, QStringLiteral("<faultstring>"), QStringLiteral("</faultstring>"));
}

std::optional<QString> GetDataTestResultLine(const QString& answer, const QString& faultPrefix,
                                             bool* isFault) {
  *isFault = false;
  const Result result = FindResult(answer, QStringLiteral("GetDataTestResult"));
  if (result.kind == Result::Text) return QStringLiteral("In TestWebService, Send Request Result : ") + result.text;
  if (result.kind != Result::Missing) return std::nullopt;
  const std::optional<QString> reason = FindFaultReason(answer);
  if (!reason) return std::nullopt;
  *isFault = true;
  return faultPrefix + *reason;
}

}  // namespace soap
