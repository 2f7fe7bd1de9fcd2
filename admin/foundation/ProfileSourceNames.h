#pragma once

#include <QString>

// Names and texts shared by the objects that open a profile's source.

// The temporary data source name under which the administration program opens a desktop file
// (FileMaker files have their own, CDatabseConnection::FileMakerDataSourceName).
inline const QString kProfileDataSourceName = QStringLiteral("TarnwickPDSN_4_TarnwickPLite_AD");

// What a failed query or worksheet lookup reports when there is no ODBC report to give.
inline const QString kUnableToFetchContents = QStringLiteral("Unable to Fetch Contents");
