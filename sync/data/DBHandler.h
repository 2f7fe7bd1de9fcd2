#pragma once

#include "shared/data/RecordSource.h"

#include <cstdint>

namespace syncservice {

// A record source of the sync program, whose move to a row answers 1 on success.
class CDBHandler : public data::RecordSource {
 public:
  virtual int MoveToRow(int32_t row) = 0;
  virtual void BindColumns() = 0;
  virtual void UnbindColumns() = 0;
};

}  // namespace syncservice
