#include "sync/data/BoundColumns.h"

#include "sync/data/FetchedRowText.h"

namespace syncservice {

QString BoundColumns::RowText() const {
  data::FetchedRow row;
  Capture(&row);
  return RowTextOf(row);
}

}  // namespace syncservice
