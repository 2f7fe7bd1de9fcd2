#pragma once

#include "platform/os/Internet.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

// One SOAP 1.1 call to a hosted service, as every program makes it: session, connection,
// request and send, each step's failure reported separately so that the caller can log it with
// its own texts and codes, then the answer's status, head and body, and the texts inside it.
namespace soap {

// The steps at which the HTTP layer can fail before an answer exists.
enum class Step { Connection, Request, Send };

enum class Failure {
  None,
  NoObject,           // no connection or request object, or the request was not sent
  InternetException,  // the HTTP layer reported a failed exchange
  OtherException,     // the run time reported a failure (memory, ...)
  UnknownException,
};

struct ExchangeRequest {
  QString server;
  uint16_t port = 80;
  QString verb = QStringLiteral("POST");
  QString object;
  platform::CachePolicy cache = platform::CachePolicy::Normal;
  platform::Transport transport = platform::Transport::Plain;
  bool useProxy = false;
  QString proxyName;  // "host:port"
  QString proxyUser;
  QString proxyPassword;
  std::optional<int> receiveTimeoutMs;  // the HTTP layer's default when absent
  std::function<bool()> abandon;        // asked while the exchange runs; true ends it
  bool abandonOnceSent = true;          // false: asked only until the request goes out
  QByteArray headers;
  QByteArray body;
};

struct ExchangeOutcome {
  Step step = Step::Send;          // the failing step, when failure is not None
  Failure failure = Failure::None;
  QString message;                 // the exception's message
  std::unique_ptr<platform::HttpFile> file;  // the sent request, when failure is None
  // The request went out: a failure at the send step then leaves unknown whether the server
  // acted on it.
  bool requestWentOut = false;
};

// Opens session, connection and request and sends; everything opened is released on failure.
ExchangeOutcome Exchange(const ExchangeRequest& request);

// The exchange code of a failure: -2, -3, -4 for a missing object at the connection, request or
// send step; -21, -31, -41 for an HTTP-layer exception there; -51, -61, -71 for another
// exception; -81, -91, -101 for anything else thrown.
int FailureCode(Step step, Failure failure);

// The log texts of the steps, as every program writes them.
QString NoObjectText(Step step);   // "... Failed (return NULL)." / "... Failed (return FALSE)."
QString SuccessText(Step step);    // "... Success."
QString ExceptionText(Step step);  // "Exception in ... call."
// The second line of a caught exception: its message, or "Exception (...)" when it has none.
QString ExceptionMessage(const ExchangeOutcome& outcome);
QString StatusQueryFailedText();

// The five lines that describe an answer whose status is not 200: the status, a label, the
// status text, a label, the raw headers.
QStringList StatusFailureLines(platform::HttpFile* file, uint32_t status);

// The answer's whole body, read in chunks to its end.
QByteArray ReadAnswer(platform::HttpFile* file);

// The answer of a request that came back with status 200, read whole and decoded, after the
// lines every exchange logs about it (code -1): the announced length, why it is missing, and the
// count of bytes read.
QString ReadAnswerLogged(platform::HttpFile* file,
                         const std::function<void(int code, const QString& text)>& log);

// "<?xml ...?>" and the soap:Envelope start tag with its three namespaces, two blanks,
// "<soap:Body>" and four blanks: the start of every request body.
QByteArray Prologue();

// The whole body of the GetDataTest call.
QByteArray GetDataTestBody();

// The one extra header line of every SOAP request.
QByteArray ContentTypeHeader(qsizetype bodyLength);

// `text` with & < > " ' written as XML entities, as UTF-8.
QByteArray EscapeXml(const QString& text);

// What an answer says in the result element named `element`.
struct Result {
  enum Kind {
    Missing,       // neither "<element>" nor "<element />"
    EmptyElement,  // "<element />"
    Unclosed,      // "<element>" without "</element>"
    Text,          // "<element>text</element>"
  } kind = Missing;
  QString text;
};
// `lookForEmptyElement` false treats "<element />" as missing.
Result FindResult(const QString& answer, const QString& element, bool lookForEmptyElement = true);

// The reason of a "<soap:Fault>" answer: the soap:Reason/soap:Text of SOAP 1.2 when present,
// else the faultstring of SOAP 1.1; nothing when the answer holds neither.
std::optional<QString> FindFaultReason(const QString& answer);

// The line a GetDataTest answer leaves in the log: "In TestWebService, Send Request Result : "
// and the result text, or `faultPrefix` and the reason of a fault (then *isFault is true);
// nothing for an empty result element or an answer with neither.
std::optional<QString> GetDataTestResultLine(const QString& answer, const QString& faultPrefix,
                                             bool* isFault);

}  // namespace soap
