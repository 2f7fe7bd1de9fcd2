#include "admin/foundation/TextReplace.h"

#include <gtest/gtest.h>

TEST(TextReplace, ReplaceFirstOccurrence) {
  struct Case {
    QString text, find, replacement, expected;
  };
  const Case cases[] = {
      {QStringLiteral("[A]+[A]"), QStringLiteral("[A]"), QStringLiteral("12"), QStringLiteral("12+[A]")},
      {QStringLiteral("[A]+[B]"), QStringLiteral("[B]"), QString(), QStringLiteral("[A]+")},
      {QStringLiteral("[A]+[B]"), QStringLiteral("[a]"), QStringLiteral("x"), QStringLiteral("[A]+[B]")},
      {QStringLiteral("[A]"), QString(), QStringLiteral("x"), QStringLiteral("[A]")},
  };
  for (const Case& c : cases) {
    QString text = c.text;
    ReplaceFirstOccurrence(&text, c.find, c.replacement);
    EXPECT_EQ(text, c.expected) << qPrintable(c.text + u' ' + c.find);
  }
}
