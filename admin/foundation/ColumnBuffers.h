#pragma once

#include "shared/data/ColumnBinder.h"

#include <QString>

// Buffers bound to every column of a statement by the column's kind: texts and numerics as wide
// text, the other supported kinds in a small buffer of their C type, unsupported columns not at
// all. The buffers live until Unbind, or until the object goes.
class ColumnBuffers : public data::ColumnBinder {
 public:
  // The display text of column `column` of the row last fetched; empty for a column without a
  // buffer.
  QString Text(size_t column) const { return DisplayText(column); }
};
