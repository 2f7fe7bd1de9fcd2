#include "sync/data/DBHandlerForUserDBForProc.h"

#include "shared/devicerecord/DeviceRecord.h"

int CDBHandlerForUserDBForProc::Initialize(const syncservice::CDatabseConnection& connection, const QString& callText,
                                           QString* error) {
  if (ExecuteQuery(connection, callText) == 1) return 1;
  *error = QStringLiteral("Failed to Initialize User's Profile Database.");
  return 0;
}

int CDBHandlerForUserDBForProc::FetchRecord(int32_t row, QByteArray* record, uint8_t digest[kRowDigestSize]) const {
  const CachedRow* cached = FindRow(row);
  if (cached == nullptr) return 0;
  ComputeTextDigest(cached->rowText, digest);
  if (cached->record.isEmpty()) return devicerecord::kRecordNotEncodable;
  *record = cached->record;
  return static_cast<int>(record->size());
}
