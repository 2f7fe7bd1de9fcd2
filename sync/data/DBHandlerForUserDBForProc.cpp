#include "sync/data/DBHandlerForUserDBForProc.h"

int CDBHandlerForUserDBForProc::Initialize(const CDatabseConnection& connection, const QString& callText,
                                           QString* error) {
  if (ExecuteQuery(connection, callText) == 1) return 1;
  *error = QStringLiteral("Failed to Initialize User's Profile Database.");
  return 0;
}

int CDBHandlerForUserDBForProc::FetchRecord(int32_t row, QByteArray* record, uint8_t digest[kRowDigestSize]) const {
  const CachedRow* cached = FindRow(row);
  if (cached == nullptr || cached->record.isEmpty()) return 0;
  *record = cached->record;
  ComputeTextDigest(cached->rowText, digest);
  return static_cast<int>(record->size());
}
