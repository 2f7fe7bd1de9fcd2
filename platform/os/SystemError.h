#pragma once

#include <QString>

// Texts of the system's error codes (errno values on this system).
namespace platform {

// The error code of the last failed system call of this thread.
int GetLastError();

// The system's message for the code, cut at its first control character other than a tab and
// without trailing full stops, blanks and control characters.
QString GetSystemErrorText(int code);

}  // namespace platform
