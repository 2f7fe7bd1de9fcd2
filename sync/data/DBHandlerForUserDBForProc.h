#pragma once

#include "sync/data/DatabaseHandlerForProc.h"
#include "sync/data/RowDigest.h"

// The stored-procedure source of a profile's own data source: the device records of its rows,
// built when the call ran.
class CDBHandlerForUserDBForProc : public syncservice::CDatabaseHandlerForProc {
 public:
  CDBHandlerForUserDBForProc() = default;
  ~CDBHandlerForUserDBForProc() override = default;

  // Executes the call; 0 with "Failed to Initialize User's Profile Database." in `error`.
  int Initialize(const syncservice::CDatabseConnection& connection, const QString& callText, QString* error);

  // A copy of the record of zero-based `row` into `record` and its row digest into `digest`; its
  // length, 0 when the row is not cached or cannot travel. Fetching a row again answers the same.
  int FetchRecord(int32_t row, QByteArray* record, uint8_t digest[kRowDigestSize]) const;
};
