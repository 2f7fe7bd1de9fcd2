#pragma once

#include "shared/ProgramVersion.h"

#include <QString>

#include <cstdint>

class CLogFile;

// The administration program's checks that the hosted web service can be reached: each calls
// its GetDataTest operation and writes what happened into the program's log. Nothing is shown
// to the user; the calling dialogs decide from the code.

namespace admin {

// Splits a web-service address into server, path and port; false with "Error Code : %d." in
// `error`. The sync program's twin words the error as its own log has it.
bool CrackWebServiceUrl(const QString& address, QString* server, QString* path, uint16_t* port,
                        QString* error);

}  // namespace admin

// SOAP GetDataTest to `address` without a proxy. 1 status 200; -1 address not split; -2, -3,
// -4 no connection, no request, not sent; -21, -31, -41 an exchange failure at those steps;
// 251 no status; 255 status not 200.
int TestWebService(CLogFile* log, const QString& address);

// GetDataTest through the proxy "host:port" with the proxy's user and password, by HTTP GET
// (the first) or SOAP (the second), to the stored address. 1 status 200 and an answer holding
// "ok"; -1 address not split, status not 200 or no "ok"; -2, -3, -4 and -21, -31, -41 as above;
// -5 no status. `httpStatus` receives the answer's status (0 when there was none).
int TestGetDataWebServiceCallWithProxy(CLogFile* log, const QString& proxyName,
                                       const QString& proxyUser, const QString& proxyPassword,
                                       uint32_t* httpStatus);
int TestPostDataWebServiceCallWithProxy(CLogFile* log, const QString& proxyName,
                                        const QString& proxyUser, const QString& proxyPassword,
                                        uint32_t* httpStatus);

namespace admin {

// The start-up check with the stored address and proxy settings. 1 status 200; -1 address not
// split, ConnSettings unreadable or status not 200; -2 to -5 as above; -21 to -101 by step and
// kind of failure. The sync program's twin writes to its own log, with -1 on every line.
int GetDataTestWebServiceMethod(CLogFile* log);

}  // namespace admin
