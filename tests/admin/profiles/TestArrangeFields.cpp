#include "admin/profiles/ArrangeFields.h"

#include <gtest/gtest.h>

TEST(ArrangeFields, GivesTheNamesInPositionOrderLeavingOutPositionZero) {
  const QStringList xyz{QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")};
  struct Case {
    const char* what;
    const char* positions;  // for x, y, z
    const char* arranged;
  };
  for (const Case& c : {
           Case{"2 1 3", "2 1 3", "y x z"},
           Case{"gaps", "7 3 5", "y z x"},
           Case{"0 leaves one out", "0 2 1", "z y"},
           Case{"no number leaves one out", "1 -2 b", "x"},
           Case{"one position twice gives both, once each", "1 1 2", "x y z"},
       }) {
    SCOPED_TRACE(c.what);
    const QStringList given = QString::fromLatin1(c.positions).split(u' ');
    QMap<QString, QString> positions;
    for (qsizetype i = 0; i < xyz.size(); ++i) positions.insert(xyz[i], given[i]);
    CArrangeFields fields(xyz);
    fields.SetPositions(positions);
    EXPECT_EQ(fields.GetArrangedFields(), QString::fromLatin1(c.arranged).split(u' '));
  }
}

TEST(ArrangeFields, NamesTheMapDoesNotHoldAreNotProduced) {
  CArrangeFields fields({QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")});
  fields.SetPositions({{QStringLiteral("z"), QStringLiteral("1")}});
  fields.SetPositions({{QStringLiteral("x"), QStringLiteral("2")}});
  EXPECT_EQ(fields.GetArrangedFields(), (QStringList{QStringLiteral("z"), QStringLiteral("x")}));
}
