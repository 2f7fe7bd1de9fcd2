#include "admin/forms/FieldValueChecks.h"

#include <QString>

namespace {

bool HasDigit(QStringView text) {
  for (QChar character : text) {
    if (character >= u'0' && character <= u'9') return true;
  }
  return false;
}

}  // namespace

bool IsIntegerText(QStringView text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar character = text[i];
    const bool digit = character >= u'0' && character <= u'9';
    if (!digit && !(i == 0 && character == u'-')) return false;
  }
  return text.isEmpty() || HasDigit(text);
}

bool IsDecimalText(QStringView text) {
  if (text.count(u'.') > 1) return false;
  QString withoutPoint = text.toString();
  withoutPoint.remove(u'.');
  return text.isEmpty() || (IsIntegerText(withoutPoint) && HasDigit(withoutPoint));
}
