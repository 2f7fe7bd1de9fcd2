#include "shared/odbc/SqlQuotes.h"

#include <gtest/gtest.h>

TEST(SqlQuotes, EveryQuoteIsDoubledOnceAndTheOriginalKept) {
  QString text = QStringLiteral("O'Brien''s");
  EscapeSqlQuotes(&text);
  EXPECT_EQ(text, QStringLiteral("O''Brien''''s"));
  const QString original = QStringLiteral("x' or '1'='1");
  EXPECT_EQ(SqlTextValue(original), QStringLiteral("x'' or ''1''=''1"));
  EXPECT_EQ(original, QStringLiteral("x' or '1'='1"));
}
