#pragma once

#include "platform/standin/SchemaIniReader.h"
#include "platform/standin/StandInTable.h"

#include <QByteArray>
#include <QString>

namespace platform {

// Reads a delimited text file into a typed table named `tableName`. Fields follow RFC 4180: a
// field that starts with a double quote runs to the closing quote, may hold delimiters and line
// breaks, and "" inside it is one quote. Records end at CR LF, LF or CR; empty lines are skipped;
// an empty field is NULL. A record with fewer fields than the table has columns gets NULLs; one
// with more fields than the first row names is an error, since those values would have no column.
// False, with the table, the line and why in `error`, for bytes that are not valid in the
// character set and for a quote that is never closed.
bool ReadTextFileTable(const QString& tableName, const QByteArray& bytes, const TextFileFormat& format,
                       StandInTable* table, QString* error);

}  // namespace platform
