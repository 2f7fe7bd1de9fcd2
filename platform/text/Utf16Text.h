#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// The text's UTF-16 code units as little-endian bytes, whatever the host's byte order (files,
// registry values and logs of the system store wide text that way).
QByteArray Utf16LeBytes(const QString& text);

}  // namespace platform
