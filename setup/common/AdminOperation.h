#pragma once

#include <QByteArray>
#include <QString>

// The three operations of the administration service that carry a DataBuffer record, with the
// names their requests, answers and log lines use.
enum class AdminOperation { GetWebUrl, InstallDesktop, UninstallDesktop };

// "GetWebUrl", "InstallDesktop", "UninstallDesktop".
QString OperationName(AdminOperation operation);
// The exchange's own name, its log tag: "GetWebURLFromAdminService", ...
QString ExchangeName(AdminOperation operation);

// The request body: the SOAP 1.1 envelope in one line with the desktop ID (escaped for XML) and
// the Base64 record.
QByteArray AdminRequestBody(AdminOperation operation, const QString& desktopId, const QByteArray& base64);

// The GetDataTest request of the administration service.
QByteArray AdminGetDataTestBody();
