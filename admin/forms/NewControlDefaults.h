#pragma once

#include "shared/formtext/FormTextRecords.h"

#include <QString>

// Gives a new control of its type the values it starts with: visible, Verdana 10 regular, and
// per type a Label's caption and right alignment, a CheckBox's values and colours, a
// ComboBox's valued list, a Button's caption (the first free action) and colours, a
// DateTime's date format and today's date, a RadioButton's colours. A RadioButton's group and
// caption come from its form's radio groups.
void SetNewControlDefaults(FormControlProperties* control, const QString& firstFreeAction);
