#pragma once

#include <QString>

// Text values inside the single quotes of an SQL text, for both programs' statements.

// Doubles every single quote of the text, in place.
void EscapeSqlQuotes(QString* text);

// A copy of `text` with every single quote doubled, ready to stand between single quotes; the
// caller's own text stays as it is.
QString SqlTextValue(const QString& text);
