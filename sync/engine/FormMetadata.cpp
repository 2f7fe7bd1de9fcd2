#include "sync/engine/FormMetadata.h"

#include "shared/formtext/FormTextReader.h"
#include "sync/data/FormInfoDB.h"
#include "sync/data/SyncLog.h"
#include "sync/engine/FormPacking.h"
#include "sync/engine/StatusChangeCheck.h"

namespace {

void LogProblems(const QString& what, const QStringList& problems) {
  for (const QString& problem : problems) WriteSyncServiceLog(-1, what + QStringLiteral(" : ") + problem);
}

}  // namespace

QByteArray CStatusChangeCheck::BuildFormMetadata(int32_t formId) const {
  CFormInfoDB table;
  if (!table.IsConnected()) WriteSyncServiceLog(-1, table.GetErrorText());
  QString error;
  if (table.InitializeTable(QStringLiteral("Where FormID = %1").arg(formId), &error) != 1)
    WriteSyncServiceLog(-1, error);
  if (table.GetRecordCount() < 1) {
    WriteSyncServiceLog(-1, QStringLiteral("Form %1 is not sent: it has no FormInfo row.").arg(formId));
    return {};
  }
  table.MoveToRecord(0);
  const FormInfoRow row = table.ReadRecord(0);

  FormTextReader reader;
  FormLevelInfo form;
  reader.ReadFormLevel(row.FormInfo, &form);
  LogProblems(QStringLiteral("Form %1").arg(formId), reader.Problems());
  const std::optional<QByteArray> groups = formpacking::PackFormGroups(form);
  const std::optional<QByteArray> message =
      groups ? formpacking::AssembleAddForm(formId, row.ProfileID, row.FormTitle, *groups) : std::nullopt;
  if (!message) {
    WriteSyncServiceLog(-1, QStringLiteral("Form %1 is not sent: its packed values exceed 65535 bytes.").arg(formId));
    return {};
  }
  return *message;
}

QByteArray BuildFormTabRecord(const FormDetailsRow& row) {
  FormTextReader reader;
  const std::vector<StoredControl> controls = reader.ReadTab(row.TabFormInfo);
  LogProblems(QStringLiteral("Tab %1 of Form %2").arg(row.TabID).arg(row.FormID), reader.Problems());
  const std::optional<QByteArray> record = formpacking::BuildFormTabData(row.TabID, row.TabTitle, controls);
  if (!record) {
    WriteSyncServiceLog(-1, QStringLiteral("Tab %1 of Form %2 is not sent: its packed controls exceed 65535 bytes.")
                                .arg(row.TabID)
                                .arg(row.FormID));
    return {};
  }
  return *record;
}
