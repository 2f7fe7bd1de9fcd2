#pragma once

#include <QStringView>

// Checks of the numbers an administrator types for parameters and default values.

// True when every character is a decimal digit, the first possibly "-"; the empty text passes.
bool IsIntegerText(QStringView text);
// True for an integer text with at most one "." in it. A text that is not empty must hold a
// digit: "-", "." and "-." are no numbers. The empty text passes where the caller allows it.
bool IsDecimalText(QStringView text);
