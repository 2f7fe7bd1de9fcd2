#include "admin/forms/StorableText.h"

#include "admin/foundation/AppLog.h"
#include "platform/widgets/MessageBox.h"
#include "shared/formtext/FormTextWriter.h"

bool RefuseUnstorableText(QWidget* parent, const QString& value) {
  const QString tag = FormTextWriter::FindTagText(value);
  if (tag.isEmpty()) return false;
  platform::MessageBox(parent,
                       QStringLiteral("\"%1\" cannot be stored in the form: it contains \"%2\", which the stored form "
                                      "uses to mark its values.")
                           .arg(value, tag),
                       ProgramTitle(), platform::MB_OK | platform::MB_ICONINFORMATION);
  return true;
}
