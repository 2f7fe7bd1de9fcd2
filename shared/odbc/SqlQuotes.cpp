#include "shared/odbc/SqlQuotes.h"

void EscapeSqlQuotes(QString* text) { text->replace(u'\'', QStringLiteral("''")); }

QString SqlTextValue(const QString& text) {
  QString value = text;
  EscapeSqlQuotes(&value);
  return value;
}
