#pragma once

#include <cstdint>

namespace admin { class CDatabseConnection; }

// The registry counter `NextFormID` under the settings key that hands out form identifiers.

// Sets the counter to 1; 1 on success, 0 when the key cannot be opened or the value written.
int InitNextFormID();
// 1 and the counter's value. A missing value is created with 1: `value` is 1 and the answer that
// of InitNextFormID. 0 when the key is missing or the value cannot be read as a number.
int GetNextFormID(int32_t* value);
// Writes the counter; 1 on success, 0 on failure.
int SetNextFormID(int32_t value);

// Hands out the identifier of a new form: the counter's value, moved past every identifier
// the settings database still holds (a lost or reset counter would give an identifier again),
// with the counter set past it before the caller writes the form's rows. 1 and the identifier;
// 0 when the stored identifiers or the counter cannot be read or the counter not written.
int TakeNextFormID(const admin::CDatabseConnection& connection, int32_t* formId);
