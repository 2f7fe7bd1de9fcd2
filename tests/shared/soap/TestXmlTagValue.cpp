#include "shared/soap/XmlTagValue.h"

#include <gtest/gtest.h>

TEST(XmlTagValue, ReadsInWriterOrderAndConsumesTheSource) {
  QString source = QStringLiteral("<Name>Orders</Name><Count>3</Count>");
  EXPECT_EQ(GetXmlTagValue(&source, QStringLiteral("Name")), QStringLiteral("Orders"));
  EXPECT_EQ(source, QStringLiteral("Orders</Name><Count>3</Count>"));
  EXPECT_EQ(GetXmlTagValue(&source, QStringLiteral("Count")), QStringLiteral("3"));
  EXPECT_EQ(GetXmlTagValue(&source, QStringLiteral("Name")), QString()) << "already passed";
}

TEST(XmlTagValue, MissingTags) {
  struct Case {
    const char* source;
    const char* element;
    const char* value;
    const char* left;
  };
  const Case cases[] = {
      {"<A>1</A>", "B", "", "<A>1</A>"},           // no opening tag: the source stays
      {"x<A>1<B>2</B>", "A", "", "1<B>2</B>"},     // no closing tag: empty, consumed to the value
      {"<AB>x</AB><A>y</A>", "A", "y", "y</A>"},   // a longer name does not match
      {"<A></A>", "A", "", "</A>"},
      {"<A>a<b</A>", "A", "a<b", "a<b</A>"},
  };
  for (const Case& c : cases) {
    QString source = QString::fromLatin1(c.source);
    EXPECT_EQ(GetXmlTagValue(&source, QString::fromLatin1(c.element)), QString::fromLatin1(c.value)) << c.source;
    EXPECT_EQ(source, QString::fromLatin1(c.left)) << c.source;
  }
}

TEST(XmlTagValue, ReadingOutOfOrderMissesTheEarlierElement) {
  QString text = QStringLiteral("<UnChecked>0</UnChecked><Checked>1</Checked>"
                                "<UnChecked>other</UnChecked>");
  EXPECT_EQ(GetXmlTagValue(&text, QStringLiteral("Checked")), QStringLiteral("1"));
  EXPECT_EQ(GetXmlTagValue(&text, QStringLiteral("UnChecked")), QStringLiteral("other"));
}
