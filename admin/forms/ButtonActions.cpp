#include "admin/forms/ButtonActions.h"

#include "shared/formtext/FormTextRecords.h"

QStringList GetActionList(int profileType) {
  QStringList actions = {QStringLiteral("First"), QStringLiteral("Previous"), QStringLiteral("Next"),
                         QStringLiteral("Last")};
  if (profileType == 0) actions << QStringLiteral("New") << QStringLiteral("Edit") << QStringLiteral("Delete");
  actions << QStringLiteral("Find") << kGoToFormAction << QStringLiteral("Go To Record");
  return actions;
}
