#include "sync/engine/WebServiceCaller.h"

#include "shared/crypto/Base64.h"
#include "shared/soap/SoapExchange.h"
#include "sync/data/SyncLog.h"
#include "sync/data/SyncSettings.h"
#include "sync/engine/PayloadEnvelope.h"
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
      {QStringLiteral("<SendDataOverHTTP>"), WriteSyncServiceLog, -13, {115, 118, 121}, {116, 119, 122}, 126, 127, true, true},
      "<SendData xmlns=\"Tarnwick\">  <DesktopID>",
      "</DesktopID><DataBuffer>",
      "</DataBuffer></SendData>  </soap:Body></soap:Envelope>",
      QStringLiteral("SendDataResult"),
      true,
      QStringLiteral("In SendData, Send Request Result : "),
      124,
      125};
  return operation;
}

const Operation& GetDataForDesktopOperation() {
  static const Operation operation{
      {QStringLiteral("<GetDataForDesktopFromHTTP>"), WriteBackSyncLog, -14, {38, 41, 44}, {39, 42, 45}, 48, 49, true, true},
      "<GetDataForDesktop xmlns=\"Tarnwick\" >  <DesktopID>",
      QByteArray(),
      "</DesktopID></GetDataForDesktop> </soap:Body></soap:Envelope>",
      QStringLiteral("GetDataForDesktopResult"),
      false,
      QStringLiteral("In GetDataForDesktop, Result : "),
      47,
      0};
  return operation;
}

const Operation& AckFromDesktopOperation() {
  static const Operation operation{
      {QStringLiteral("<AckFromDesktopOverHTTP>"), WriteBackSyncLog, -15, {55, 58, 61}, {56, 59, 62}, 66, 67, true, true},
      "<AckFromDesktop xmlns=\"Tarnwick\">   <DesktopID>",
      "</DesktopID><DataBuffer>",
      "</DataBuffer></AckFromDesktop>  </soap:Body></soap:Envelope>",
      QStringLiteral("AckFromDesktopResult"),
      true,
      QStringLiteral("In AckFromDesktop, Send Request Result : "),
      64,
      65};
  return operation;
}

QByteArray Body(const Operation& operation, const QByteArray& payload) {
  // The desktop name is text, not markup: escaped, and sent as the UTF-8 the body declares.
  QByteArray body = soap::Prologue() + operation.head + soap::EscapeXml(QString::fromUtf8(GetDesktopIdAnsi()));
  if (!operation.middle.isEmpty()) body += operation.middle + payload;
  return body + operation.tail;
}

// A result the service spelled "false" is a refusal, whatever the case.
bool IsRefusal(const QString& text) {
  return text.trimmed().compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0;
}

// Runs the operation and reads its result; `result` receives the result element's text.
int Call(const Operation& operation, const QByteArray& payload, QString* result) {
  QString answer;
  const int code = RunExchange(operation.exchange, Body(operation, payload), &answer);
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

int SendOrAcknowledge(const Operation& operation, const QByteArray& payload) {
  QString result;
  const int code = Call(operation, payload, &result);
  return code == 1 && IsRefusal(result) ? -1 : code;
}

// Seals a message and sends it with `send`, logging the three lengths with the given codes.
template <typename SendFn>
bool SealAndSend(QByteArrayView message, SyncLogWriter log, const QString& name,
                 const int (&codes)[3], SendFn send) {
  log(codes[0], QStringLiteral("In %1, OLength : %2.").arg(name).arg(message.size()));
  const QByteArray envelope =
      envelope::BuildEnvelope(envelope::CreateSessionKey(), envelope::FrameMessage(message));
  log(codes[1], QStringLiteral("In %1, ELength : %2.").arg(name).arg(envelope.size() - envelope::kHeadSize));
  const QByteArray text = Base64Encode(envelope);
  log(codes[2], QStringLiteral("In %1, B64Length : %2.").arg(name).arg(text.size()));
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

int CWebServiceCaller::SendDataOverHTTP(const QByteArray& payload) {
  return SendOrAcknowledge(SendDataOperation(), payload);
}

int CWebServiceCaller::AckFromDesktopOverHTTP(const QByteArray& payload) {
  return SendOrAcknowledge(AckFromDesktopOperation(), payload);
}

int CWebServiceCaller::GetDataForDesktopFromHTTP(QString* result) {
  return Call(GetDataForDesktopOperation(), QByteArray(), result);
}

bool CWebServiceCaller::SendData(QByteArrayView message) {
  return SealAndSend(message, WriteSyncServiceLog, QStringLiteral("Send Data"), {208, 207, 177},
                     [this](const QByteArray& text) { return SendDataOverHTTP(text); });
}

bool CWebServiceCaller::AckFromDesktop(QByteArrayView message) {
  return SealAndSend(message, WriteBackSyncLog, QStringLiteral("AckFromDesktop"), {92, 84, 94},
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
