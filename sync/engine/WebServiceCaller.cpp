#include "sync/engine/WebServiceCaller.h"

#include "shared/crypto/Base64.h"
#include "shared/soap/SoapExchange.h"
#include "sync/data/SyncLog.h"
#include "sync/data/SyncSettings.h"
#include "sync/engine/PayloadEnvelope.h"
#include "sync/engine/SyncStatus.h"
#include "sync/engine/WebServiceExchange.h"

namespace {

// What one operation of the protocol adds to the common exchange.
struct Operation {
  ExchangeMember exchange;
  QByteArray head;   // after the prologue, up to the DesktopID
  QByteArray middle;  // between DesktopID and payload; empty without a payload
  QByteArray tail;
  QString element;   // the result element
  bool emptyElementCounts;  // "<element />" is an empty result rather than none
  QString resultPrefix;
  int resultCode;
  int faultCode;  // 0: the answer is not searched for a fault
};

const Operation& SendDataOperation() {
  static const Operation operation{
      .exchange = {.tag = QStringLiteral("<SendDataOverHTTP>"),
                   .log = WriteSyncServiceLog,
                   .splitCode = -13,
                   .noObjectCodes = {.connection = 115, .request = 118, .send = 121},
                   .exceptionCodes = {.connection = 116, .request = 119, .send = 122},
                   .statusQueryCode = 126,
                   .statusLinesCode = 127,
                   .logSuccessLines = true,
                   .setReceiveTimeout = true,
                   .stopRequested = &SyncStopRequested,
                   .abandonOnceSent = false},
      .head = "<SendData xmlns=\"Tarnwick\">  <DesktopID>",
      .middle = "</DesktopID><DataBuffer>",
      .tail = "</DataBuffer></SendData>  </soap:Body></soap:Envelope>",
      .element = QStringLiteral("SendDataResult"),
      .emptyElementCounts = true,
      .resultPrefix = QStringLiteral("In SendData, Send Request Result : "),
      .resultCode = 124,
      .faultCode = 125};
  return operation;
}

const Operation& GetDataForDesktopOperation() {
  static const Operation operation{
      .exchange = {.tag = QStringLiteral("<GetDataForDesktopFromHTTP>"),
                   .log = WriteBackSyncLog,
                   .splitCode = -14,
                   .noObjectCodes = {.connection = 38, .request = 41, .send = 44},
                   .exceptionCodes = {.connection = 39, .request = 42, .send = 45},
                   .statusQueryCode = 48,
                   .statusLinesCode = 49,
                   .logSuccessLines = true,
                   .setReceiveTimeout = true,
                   .stopRequested = &SyncStopRequested,
                   .abandonOnceSent = false},
      .head = "<GetDataForDesktop xmlns=\"Tarnwick\" >  <DesktopID>",
      .middle = QByteArray(),
      .tail = "</DesktopID></GetDataForDesktop> </soap:Body></soap:Envelope>",
      .element = QStringLiteral("GetDataForDesktopResult"),
      .emptyElementCounts = false,
      .resultPrefix = QStringLiteral("In GetDataForDesktop, Result : "),
      .resultCode = 47,
      .faultCode = 0};
  return operation;
}

const Operation& AckFromDesktopOperation() {
  static const Operation operation{
      .exchange = {.tag = QStringLiteral("<AckFromDesktopOverHTTP>"),
                   .log = WriteBackSyncLog,
                   .splitCode = -15,
                   .noObjectCodes = {.connection = 55, .request = 58, .send = 61},
                   .exceptionCodes = {.connection = 56, .request = 59, .send = 62},
                   .statusQueryCode = 66,
                   .statusLinesCode = 67,
                   .logSuccessLines = true,
                   .setReceiveTimeout = true,
                   .stopRequested = &SyncStopRequested,
                   .abandonOnceSent = false},
      .head = "<AckFromDesktop xmlns=\"Tarnwick\">   <DesktopID>",
      .middle = "</DesktopID><DataBuffer>",
      .tail = "</DataBuffer></AckFromDesktop>  </soap:Body></soap:Envelope>",
      .element = QStringLiteral("AckFromDesktopResult"),
      .emptyElementCounts = true,
      .resultPrefix = QStringLiteral("In AckFromDesktop, Send Request Result : "),
      .resultCode = 64,
      .faultCode = 65};
  return operation;
}

QByteArray Body(const Operation& operation, const QByteArray& payload) {
  // The desktop name is text, not markup: escaped, and sent as the UTF-8 the body declares.
  const QByteArray desktopId = soap::EscapeXml(QString::fromUtf8(GetDesktopIdAnsi()));
  const QByteArray prologue = soap::Prologue();
  const bool carriesPayload = !operation.middle.isEmpty();
  // Sized at once: the payload is a strip's envelope as Base64, and is copied once.
  QByteArray body;
  body.reserve(prologue.size() + operation.head.size() + desktopId.size() + operation.middle.size() +
               (carriesPayload ? payload.size() : 0) + operation.tail.size());
  body.append(prologue).append(operation.head).append(desktopId);
  if (carriesPayload) body.append(operation.middle).append(payload);
  return body.append(operation.tail);
}

// A result the service spelled "false" is a refusal, whatever the case.
bool IsRefusal(const QString& text) {
  return text.trimmed().compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0;
}

// Runs the operation and reads its result; `result` receives the result element's text.
// `outcomeUnknown` as RunExchange sets it.
int Call(const Operation& operation, const QByteArray& payload, QString* result, bool* outcomeUnknown = nullptr) {
  QString answer;
  const int code = RunExchange(operation.exchange, Body(operation, payload), &answer, outcomeUnknown);
  if (code != 1) return code;
  const SyncLogWriter log = operation.exchange.log;
  const soap::Result found = soap::FindResult(answer, operation.element, operation.emptyElementCounts);
  switch (found.kind) {
    case soap::Result::EmptyElement:
    case soap::Result::Unclosed:
      return 1;
    case soap::Result::Text:
      log(operation.resultCode, operation.resultPrefix + found.text);
      *result = found.text;
      return 1;
    case soap::Result::Missing:
      break;
  }
  log(-1, operation.resultPrefix + answer);
  if (operation.faultCode != 0) {
    if (const auto reason = soap::FindFaultReason(answer)) log(operation.faultCode, operation.resultPrefix + *reason);
  }
  return -1;
}

int SendOrAcknowledge(const Operation& operation, const QByteArray& payload, bool* outcomeUnknown = nullptr) {
  QString result;
  const int code = Call(operation, payload, &result, outcomeUnknown);
  return code == 1 && IsRefusal(result) ? -1 : code;
}

// The log codes of the three lengths a sealed message is logged with.
struct LengthCodes {
  int message;     // the message as given
  int ciphertext;  // the envelope without its head
  int base64;      // the envelope as sent
};

// Seals a message and sends it with `send`, logging the three lengths.
template <typename SendFn>
bool SealAndSend(QByteArrayView message, SyncLogWriter log, const QString& name, const LengthCodes& codes,
                 SendFn send) {
  log(codes.message, QStringLiteral("In %1, OLength : %2.").arg(name).arg(message.size()));
  const QByteArray envelope = envelope::BuildFramedEnvelope(envelope::CreateSessionKey(), message);
  log(codes.ciphertext, QStringLiteral("In %1, ELength : %2.").arg(name).arg(envelope.size() - envelope::kHeadSize));
  const QByteArray text = Base64Encode(envelope);
  log(codes.base64, QStringLiteral("In %1, B64Length : %2.").arg(name).arg(text.size()));
  return send(text) == 1;
}

QString OpenErrorText(envelope::OpenError error) {
  switch (error) {
    case envelope::OpenError::TooShort: return QStringLiteral("shorter than its head and one block");
    case envelope::OpenError::BadIndex: return QStringLiteral("key index above 14");
    case envelope::OpenError::NotWholeBlocks: return QStringLiteral("ciphertext not whole blocks");
    case envelope::OpenError::None: break;
  }
  return QString();
}

}  // namespace

int CWebServiceCaller::SendDataOverHTTP(const QByteArray& payload, bool* outcomeUnknown) {
  return SendOrAcknowledge(SendDataOperation(), payload, outcomeUnknown);
}

int CWebServiceCaller::AckFromDesktopOverHTTP(const QByteArray& payload) {
  return SendOrAcknowledge(AckFromDesktopOperation(), payload);
}

int CWebServiceCaller::GetDataForDesktopFromHTTP(QString* result) {
  return Call(GetDataForDesktopOperation(), QByteArray(), result);
}

bool CWebServiceCaller::SendData(QByteArrayView message) { return Deliver(message) == Delivery::Taken; }

CWebServiceCaller::Delivery CWebServiceCaller::Deliver(QByteArrayView message) {
  bool unknown = false;
  const bool taken = SealAndSend(message, WriteSyncServiceLog, QStringLiteral("Send Data"),
                                 {.message = 208, .ciphertext = 207, .base64 = 177},
                                 [this, &unknown](const QByteArray& text) { return SendDataOverHTTP(text, &unknown); });
  if (taken) return Delivery::Taken;
  return unknown ? Delivery::Unknown : Delivery::Refused;
}

bool CWebServiceCaller::AckFromDesktop(QByteArrayView message) {
  return SealAndSend(message, WriteBackSyncLog, QStringLiteral("AckFromDesktop"),
                     {.message = 92, .ciphertext = 84, .base64 = 94},
                     [this](const QByteArray& text) { return AckFromDesktopOverHTTP(text); });
}

bool CWebServiceCaller::GetDataForDesktop(QByteArray* plain) {
  QString text;
  if (GetDataForDesktopFromHTTP(&text) != 1) return false;
  WriteBackSyncLog(89, QStringLiteral("In GetDataForDesktop, B64Length : %1.").arg(text.size()));
  const QByteArray decoded = Base64Decode(text.toLatin1());
  WriteBackSyncLog(90, QStringLiteral("In GetDataForDesktop, DLength : %1.").arg(decoded.size()));
  envelope::OpenError error = envelope::OpenError::None;
  std::optional<QByteArray> opened = envelope::OpenEnvelope(decoded, envelope::kDesktopLabel, &error);
  if (!opened) {
    WriteBackSyncLog(-1, QStringLiteral("In GetDataForDesktop, no envelope : %1.").arg(OpenErrorText(error)));
    return false;
  }
  *plain = std::move(*opened);
  return true;
}
