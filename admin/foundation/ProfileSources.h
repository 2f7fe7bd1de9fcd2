#pragma once

#include "admin/foundation/DatabseConnection.h"
#include "shared/contract/DataSourceNames.h"
#include "shared/data/SourceKinds.h"

#include <QString>

#include <cstdint>

// Names, texts and kinds shared by the objects that open a profile's source.

// The temporary data source name a source of `kind` is connected under.
inline QString DataSourceNameOfKind(uint8_t kind) {
  return kind == sourcekind::kFileMaker ? admin::CDatabseConnection::FileMakerDataSourceName()
                                                : datasources::kAdminProfile;
}

// What a failed query or worksheet lookup reports when there is no ODBC report to give.
inline const QString kUnableToFetchContents = QStringLiteral("Unable to Fetch Contents");
