#include "shared/XmlTagValue.h"

QString GetXmlTagValue(QString* source, const QString& elementName) {
  const qsizetype open = source->indexOf(u'<' + elementName + u'>');
  if (open < 0) return {};
  source->remove(0, open);
  source->remove(0, source->indexOf(u'>') + 1);
  const qsizetype close = source->indexOf(QStringLiteral("</") + elementName);
  if (close < 0) return {};
  return source->left(close);
}
