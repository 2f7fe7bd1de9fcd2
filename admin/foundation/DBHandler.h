#pragma once

#include "shared/data/RecordSource.h"

#include <cstdint>

namespace admin {

// A record source of the administration program, which moves to a row and on to the next one.
class CDBHandler : public data::RecordSource {
 public:
  virtual bool MoveToRow(int32_t row) = 0;
  virtual bool FetchNext(int32_t row) = 0;
  virtual void BindColumns() = 0;
  virtual void UnbindColumns() = 0;
};

}  // namespace admin
