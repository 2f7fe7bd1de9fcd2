#pragma once

#include "platform/odbc/OdbcHandle.h"

#include <sql.h>

// A new statement on `connection` with the cursor the record sources and catalog lookups ask
// for: dynamic cursor type and lock concurrency (drivers that offer less choose the nearest
// they have). `dynamicCursor` false asks for lock concurrency only; `lockRows` false leaves the
// driver's read-only concurrency. Empty when it cannot be made.
platform::OdbcHandle NewCursorStatement(SQLHDBC connection, bool dynamicCursor = true, bool lockRows = true);
