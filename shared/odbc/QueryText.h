#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// Reading the parts of an SQL text that both programs need: keywords and the table a SELECT
// reads from.

// The position of the first `keyword` that stands as a whole word outside quoted text ('...',
// "...", `...`, [...]), compared without case; a blank inside the keyword ("ORDER BY") matches
// any run of white space. -1 when there is none.
qsizetype FindSqlKeyword(QStringView text, QStringView keyword);

// The table a SELECT reads from: the text after FROM up to WHERE or ORDER BY, without an owner
// prefix in quotes ("dbo".). A quoted name ("a ""b""" or `a`) loses its quotes and gets its
// doubled inner quotes back as one; any other name loses its double quotes and is trimmed of
// blanks, then of single quotes. Empty when the text has no FROM.
QString GetTableNameFromQuery(const QString& query);

// A table name as a SELECT writes it: "schema"."table", "table", `table` or bare.
struct QualifiedTableName {
  QString schema;
  QString table;
};
// Reads the names of a table part; a quoted name keeps its blanks and dots, a doubled quote
// inside it stands for one.
QualifiedTableName ReadQualifiedTableName(QStringView tablePart);

// `name` enclosed in `quote`, the quote character inside doubled.
QString QuoteSqlName(const QString& name, QChar quote);

// A name without its enclosing double quotes or back-quotes, the doubled quote inside halved;
// any other text trimmed and otherwise as it is.
QString UnquoteSqlName(QStringView name);

// The name in double quotes or back-quotes that opens at `*at`, the doubled quote inside halved;
// `*at` moves past its closing quote (to the end when there is none).
QString ReadQuotedSqlName(QStringView text, qsizetype* at);

// The items of a comma-separated SQL list (a column list, arguments, parameter declarations):
// split at the commas outside quotes and parentheses, each trimmed. Empty for blank text.
QStringList SplitSqlList(QStringView text);
