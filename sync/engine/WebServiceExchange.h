#pragma once

#include <QByteArray>
#include <QString>

// The HTTP exchange every call of the sync program to the web service makes: address, proxy
// settings, session, connection, request, send, status and answer, each failure logged with the
// calling operation's codes. What the answer says is left to the caller.

using SyncLogWriter = void (*)(int code, const QString& text);

struct ExchangeMember {
  QString tag;                // "<SendDataOverHTTP>": starts the operation's own lines
  SyncLogWriter log;          // the log the operation writes to
  int splitCode;              // the address cannot be split
  int noObjectCodes[3];       // no connection, no request, not sent
  int exceptionCodes[3];      // an HTTP-layer exception at those steps; its message gets code + 1
  int statusQueryCode;        // no status
  int statusLinesCode;        // the first of the five lines of a status other than 200
  bool logSuccessLines;       // "... Success." after each of the three steps
  bool setReceiveTimeout;     // three minutes without an answer end the exchange
};

// Posts `body` to "service.asmx" under the stored address. 1 when the answer came with status
// 200 (it is then in `answer`, also printed to standard output); -1 address not split,
// ConnSettings unreadable or another status; -2 to -5 and -21 to -101 by failing step.
int RunExchange(const ExchangeMember& member, const QByteArray& body, QString* answer);
