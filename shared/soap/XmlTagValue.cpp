#include "shared/soap/XmlTagValue.h"

#include "shared/formtext/TaggedText.h"

QString GetXmlTagValue(QString* source, const QString& elementName) {
  using taggedtext::TagStatus;
  const taggedtext::TagMatch match = taggedtext::FindTag(*source, 0, source->size(), elementName);
  if (match.status == TagStatus::Absent) return {};
  const QString value = match.status == TagStatus::Found
                            ? source->mid(match.valueStart, match.valueEnd - match.valueStart)
                            : QString();
  source->remove(0, match.valueStart);
  return value;
}
