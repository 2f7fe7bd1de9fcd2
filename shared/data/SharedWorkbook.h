#pragma once

#include "platform/workbook/Workbook.h"

#include <memory>

namespace data {

// An open workbook as its holders share it: the connection that opened it and every worksheet
// source attached to one of its sheets. It stays open while any holder has it, as an
// automation object does.
using SharedWorkbook = std::shared_ptr<platform::Workbook>;

}  // namespace data
