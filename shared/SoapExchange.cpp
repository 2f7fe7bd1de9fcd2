#include "shared/SoapExchange.h"

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
        file = connection->OpenRequest(request.verb, request.object, request.cache);
        return file != nullptr;
      }) &&
      RunStep(Step::Send, &outcome, [&] { return file->SendRequest(request.headers, request.body); });
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

QByteArray ReadAnswer(platform::HttpFile* file) {
  QByteArray answer;
  char chunk[kReadChunk + 1];
  for (qint64 count; (count = file->Read(chunk, kReadChunk)) > 0;) answer.append(chunk, count);
  return answer;
}

QByteArray Prologue() {
  return QByteArrayLiteral(
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
      "<soap:Envelope xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
      " xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\""
      " xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">"
      "  <soap:Body>    ");
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

Result FindResult(const QString& answer, const QString& element, bool lookForEmptyElement) {
  Result result;
  if (lookForEmptyElement && answer.contains(QLatin1Char('<') + element + QStringLiteral(" />"))) {
    result.kind = Result::EmptyElement;
    return result;
  }
  const QString open = QLatin1Char('<') + element + QLatin1Char('>');
  const qsizetype start = answer.indexOf(open);
  if (start < 0) return result;
  const qsizetype textStart = start + open.size();
  const qsizetype end = answer.indexOf(QStringLiteral("</") + element + QLatin1Char('>'), textStart);
  if (end < 0) {
    result.kind = Result::Unclosed;
    return result;
  }
  result.kind = Result::Text;
  result.text = answer.mid(textStart, end - textStart);
  return result;
}

namespace {

std::optional<QString> TextBetween(const QString& answer, const QString& open, const QString& close) {
  const qsizetype start = answer.indexOf(open);
  if (start < 0) return std::nullopt;
  const qsizetype textStart = start + open.size();
  const qsizetype end = answer.indexOf(close, textStart);
  if (end < 0) return std::nullopt;
  return answer.mid(textStart, end - textStart);
}

}  // namespace

std::optional<QString> FindFaultReason(const QString& answer) {
  if (!answer.contains(QStringLiteral("<soap:Fault>"))) return std::nullopt;
  if (auto reason = TextBetween(answer, QStringLiteral("<soap:Reason><soap:Text xml:lang=\"en\">"),
                                QStringLiteral("</soap:Text></soap:Reason>"))) {
    return reason;
  }
  return TextBetween(answer, QStringLiteral("<faultstring>"), QStringLiteral("</faultstring>"));
}

}  // namespace soap
