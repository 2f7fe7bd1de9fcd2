#pragma once

#include <QString>

// Writes `schemaPath` anew with one section for every "*.txt" file of `folder` (the names in
// the folder's order, compared without case), telling the text driver to read each as
// tab-delimited Unicode text with a header row: UTF-16LE without byte-order mark, every line
// ended by CR LF, the last section followed by one more LF. False when it cannot be written.
bool WriteSchemaIni(const QString& folder, const QString& schemaPath);
