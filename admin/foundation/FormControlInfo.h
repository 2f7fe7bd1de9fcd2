#pragma once

#include "admin/foundation/ControlWindow.h"
#include "shared/formtext/FormTextRecords.h"

// One control of a form in the designer: its properties and the designer window that shows
// it (null until the designer places it). Font sizes are the designer's, without the device
// offset that the stored text adds.
struct FormControlInfo : FormControlProperties {
  ControlWindow Window;
};
