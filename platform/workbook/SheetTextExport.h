#pragma once

#include <QByteArray>

namespace platform {

class Worksheet;

// The bytes of a worksheet saved as Unicode text (see Worksheet::SaveAsUnicodeText).
QByteArray UnicodeTextOf(const Worksheet& sheet);

}  // namespace platform
