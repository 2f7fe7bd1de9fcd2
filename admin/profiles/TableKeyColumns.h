#pragma once

#include <QString>
#include <QStringList>

namespace admin { class CDatabseConnection; }

// The primary-key columns the table page marks among the listed (catalogue) column names: the
// best-row identifier for Oracle and PostgreSQL, the primary keys for every other product. An
// identifier that names no listed column (PostgreSQL's ctid of a table without a key) gives way
// to the primary keys.
QStringList GetTableKeyColumns(admin::CDatabseConnection& connection, const QString& productName, const QString& table,
                               const QStringList& columnNames);
