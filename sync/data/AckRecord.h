#pragma once

#include <QString>

#include <cstdint>

// One acknowledgement back synchronisation still has to deliver: a row of AckFromDesktopTable,
// its six columns in table order, then the row identity the table numbers itself.
struct AckRecord {
  int32_t ProfileID = 0;
  int32_t RecordSource = 0;
  int32_t RecordIndex = 0;
  QString DeviceID;
  int32_t ResultCode = 0;
  QString ResultText;
  // Names this one row, so that two acknowledgements of one record are removed one by one.
  int32_t AckID = 0;
};
