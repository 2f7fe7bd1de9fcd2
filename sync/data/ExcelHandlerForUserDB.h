#pragma once

#include "sync/data/ExcelHandler.h"

// The worksheet handler as the profile reader holds it: rows read as device records with their
// row digests.
class CExcelHandlerForUserDB : public syncservice::CExcelHandler {
 public:
  // Sheet row `row` + 1 as a device record (texts as devices carry them) and the digest of the
  // values as read; its length, 0 when `row` is not below the row count or the record is too long.
  int ReadRecord(int32_t row, QByteArray* record, uint8_t digest[kRowDigestSize]) const;
};
