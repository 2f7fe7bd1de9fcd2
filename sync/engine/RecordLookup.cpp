#include "sync/engine/RecordLookup.h"

#include "sync/data/FormInfoDB.h"
#include "sync/data/SyncLog.h"
#include "sync/data/UserProfileStatusTable.h"
#include "sync/engine/RecordDigestLookup.h"

namespace {

void Log(const QString& text) { WriteSyncServiceLog(-1, text); }

bool HasSyncedStatus(int32_t profileId) {
  CUserProfileStatusTable status;
  QString error;
  if (status.InitializeTable(QStringLiteral("where ProfileID = %1 and StatusFlag = ''").arg(profileId), &error) != 1)
    Log(error);
  if (status.GetRecordCount() > 0) return true;
  Log(QStringLiteral("<IsFormProfileProcessed> ProfileID %1 does not have any Synced Status.").arg(profileId));
  return false;
}

}  // namespace

bool IsFormProfileProcessed(int32_t formId) {
  CFormInfoDB forms;
  if (!forms.IsConnected()) {
    Log(QStringLiteral("<IsFormProfileProcessed> Failed to get Form Information for FormID %1 .").arg(formId));
    Log(forms.GetErrorText());
    return false;
  }
  QString error;
  if (forms.InitializeTable(QStringLiteral("Where FormID = %1").arg(formId), &error) != 1) Log(error);
  if (forms.GetRecordCount() < 1) {
    Log(QStringLiteral("<IsFormProfileProcessed> Form Information for FormID %1 not found.").arg(formId));
    return false;
  }
  return HasSyncedStatus(forms.ReadRecord(0).ProfileID);
}

bool FindRecordByDigest(syncservice::ProfileDataReader& reader, int32_t profileId, int32_t* rowIndex, CdbEntry* entry) {
  return RecordDigestLookup(reader, profileId).Find(rowIndex, entry);
}

bool FindRecordBySourceIndex(syncservice::CExcelHandler& handler, int32_t profileId, int32_t* rowIndex, CdbEntry* entry,
                             int skipFirstRow) {
  return RecordDigestLookup(handler, profileId, skipFirstRow == 1).Find(rowIndex, entry);
}
