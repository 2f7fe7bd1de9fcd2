#pragma once

#include "platform/odbc/OdbcHandle.h"
#include "platform/odbc/OdbcText.h"

#include <sqlext.h>

#include <QString>

namespace testsupport {

// A connection handle whose connect to an unknown data source left the driver manager's
// diagnostic record: SQLSTATE IM002, native error code 0.
class FailedOdbcConnection {
 public:
  FailedOdbcConnection()
      : environment_(platform::OdbcHandle::NewEnvironment()),
        connection_(platform::OdbcHandle::Allocate(SQL_HANDLE_DBC, environment_.get())) {
    const QString name = QStringLiteral("NoSuchDataSource");
    SQLConnectW(connection_.get(), platform::SqlText(name), SQL_NTS, nullptr, 0, nullptr, 0);
  }

  SQLHDBC get() const { return connection_.get(); }

 private:
  platform::OdbcHandle environment_;
  platform::OdbcHandle connection_;
};

}  // namespace testsupport
