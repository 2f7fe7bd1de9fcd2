#pragma once

#include "setup/common/AdminServiceExchange.h"

#include <QString>

// Where the setup programs find the administration service: the build's setting, or
// $TARNWICK_ADMIN_SERVICE as "host:port" (or "host", port 80) for tests and the demo.
inline constexpr char kAdminServiceVariable[] = "TARNWICK_ADMIN_SERVICE";

AdminEndpoint DefaultAdminEndpoint();

// Reads "host:port" or "host"; false for an empty host or a port that is not 1..65535.
bool ParseAdminEndpoint(const QString& text, AdminEndpoint* endpoint);
