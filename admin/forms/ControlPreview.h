#pragma once

class CControlButton;
struct FormControlInfo;

// Shows the control's values on its preview: font, text colour, and per type the text it
// carries (caption, default value, the current date and time), alignment, tick or dot, and a
// Button's own background.
void ShowControlValues(const FormControlInfo& control, CControlButton* window);
