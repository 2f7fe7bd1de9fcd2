#pragma once

#include "shared/formtext/FormTextRecords.h"

// One control of a form in the designer: its properties. Font sizes are the designer's, without
// the device offset that the stored text adds. The designer keeps the window that shows it
// (admin/forms ControlWindows).
struct FormControlInfo : FormControlProperties {};
