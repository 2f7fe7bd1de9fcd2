#pragma once

#include "shared/data/ColumnBinder.h"

#include <QString>

namespace syncservice {

// Buffers bound to the supported columns of a statement (see data::ColumnBinder), whose row
// names itself by the digest of its row text.
class BoundColumns : public data::ColumnBinder {
 public:
  // The row text of the supported columns' digest texts.
  QString RowText() const;
};

}  // namespace syncservice
