#include "setup/installer/TextLimit.h"

#include <QLineEdit>

void LimitUtf8Bytes(QLineEdit* edit, int maxBytes) {
  edit->setMaxLength(maxBytes);
  QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, maxBytes](const QString& text) {
    if (text.toUtf8().size() <= maxBytes) return;
    QString kept = text;
    while (kept.toUtf8().size() > maxBytes) kept.chop(kept.size() >= 2 && kept.back().isLowSurrogate() ? 2 : 1);
    edit->setText(kept);
  });
}
