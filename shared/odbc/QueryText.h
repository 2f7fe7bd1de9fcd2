#pragma once

#include <QString>
#include <QStringView>

// Reading the parts of an SQL text that both programs need: keywords and the table a SELECT
// reads from.

// The position of the first `keyword` that stands as a whole word outside quoted text ('...',
// "...", `...`, [...]), compared without case; a blank inside the keyword ("ORDER BY") matches
// any run of white space. -1 when there is none.
qsizetype FindSqlKeyword(QStringView text, QStringView keyword);

// The table a SELECT reads from: the text after FROM up to WHERE or ORDER BY, without an owner
// prefix in double quotes ("dbo".), without double quotes, and trimmed of blanks, then of single
// quotes. Empty when the text has no FROM.
QString GetTableNameFromQuery(const QString& query);
