#pragma once

#include "shared/data/FetchedRow.h"

#include <QString>

namespace syncservice {

// The text that names a fetched row by its digest: each value's digest text escaped, with "#"
// between them. A value's digest text is its display text, RealDigestText for real values and
// nothing for NULL.
QString RowTextOf(const data::FetchedRow& row);

}  // namespace syncservice
