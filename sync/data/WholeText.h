#pragma once

#include <sql.h>

#include <QString>

namespace syncservice {

// The whole text of `column` (from 1) of the statement's current row, read in chunks for as long
// as the driver reports more; empty for NULL. Each call's result goes to `lastReturnCode`.
QString ReadWholeText(SQLHSTMT statement, SQLUSMALLINT column, SQLRETURN* lastReturnCode);

}  // namespace syncservice
