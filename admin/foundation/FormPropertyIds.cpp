#include "admin/foundation/FormPropertyIds.h"

#include <QStringList>

namespace {

// Labels of the numbers 1 to 31 in order.
const QStringList& Labels() {
  static const QStringList labels = {
      QStringLiteral("Caption"),        QStringLiteral("Align Text"),     QStringLiteral("Default Value"),
      QStringLiteral("UnChecked"),      QStringLiteral("Checked"),        QStringLiteral("Action"),
      QStringLiteral("Form Name"),      QStringLiteral("Profile Name"),   QStringLiteral("Data Column"),
      QStringLiteral("Columns"),        QStringLiteral("Height"),         QStringLiteral("Format"),
      QStringLiteral("Selected"),       QStringLiteral("Group"),          QStringLiteral("Source Type"),
      QStringLiteral("Allow Item Edit"), QStringLiteral("Lookup Profile"), QStringLiteral("Lookup Column"),
      QStringLiteral("Read Only"),      QStringLiteral("Disabled"),       QStringLiteral("Font Size"),
      QStringLiteral("Font Style"),     QStringLiteral("Form Color"),     QStringLiteral("BackColor"),
      QStringLiteral("ForeColor"),      QStringLiteral("View Column"),    QStringLiteral("Form Selection"),
      QStringLiteral("Formula"),        QStringLiteral("Is Data Column"), QStringLiteral("Visible"),
      QStringLiteral("Font Name"),
  };
  return labels;
}

}  // namespace

int GetPropertyId(const QString& label) {
  const qsizetype found = Labels().indexOf(label);
  return found < 0 ? -1 : static_cast<int>(found) + 1;
}

QString GetPropertyName(int id) {
  if (id < 1 || id > Labels().size()) return QStringLiteral("Other");
  return Labels().at(id - 1);
}
