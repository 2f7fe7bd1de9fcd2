#pragma once

#include "shared/soap/SoapExchange.h"

#include <QByteArray>
#include <QString>

// The HTTP exchange every call of the sync program to the web service makes: address, proxy
// settings, session, connection, request, send, status and answer, each failure logged with the
// calling operation's codes. What the answer says is left to the caller.

using SyncLogWriter = void (*)(int code, const QString& text);

// The log codes of one kind of line at each step of the exchange; -1 is logged as it is.
struct StepCodes {
  int connection;
  int request;
  int send;

  int At(soap::Step step) const;
};

inline constexpr StepCodes kAllStepsMinusOne{.connection = -1, .request = -1, .send = -1};

struct ExchangeMember {
  QString tag;                // "<SendDataOverHTTP>": starts the operation's own lines
  SyncLogWriter log;          // the log the operation writes to
  int splitCode;              // the address cannot be split
  StepCodes noObjectCodes;    // no connection, no request, not sent
  StepCodes exceptionCodes;   // an HTTP-layer exception at those steps; its message gets code + 1
  int statusQueryCode;        // no status
  int statusLinesCode;        // the first of the five lines of a status other than 200
  bool logSuccessLines;       // "... Success." after each of the three steps
  bool setReceiveTimeout;     // the whole exchange may take three minutes, not the default
  bool (*stopRequested)();    // asked while the exchange runs: true abandons it
  // False for exchanges that hand the service data: once the request is on the wire the service
  // may have taken it, so only the answer or the time limit ends the exchange.
  bool abandonOnceSent = true;
};

// Posts `body` to "service.asmx" under the stored address, over TLS for an https address. 1 when
// the answer came with status 200 (it is then in `answer`, also printed to standard output); -1
// address not split, ConnSettings unreadable or another status; -2 to -5 and -21 to -101 by
// failing step (an exchange abandoned for a stop is -41). `outcomeUnknown`, when given, is set
// when the exchange failed after its request went out: the service may have acted on it.
int RunExchange(const ExchangeMember& member, const QByteArray& body, QString* answer,
                bool* outcomeUnknown = nullptr);
