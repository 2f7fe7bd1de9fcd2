#pragma once

#include <QByteArrayView>
#include <QString>

namespace platform {

// The UTF-8 bytes as text, a leading U+FEFF kept as a character: QString::fromUtf8 drops it as a
// byte-order mark, which changes a name that begins with it. Bytes that are not UTF-8 become
// U+FFFD.
QString FromUtf8KeepingBom(QByteArrayView bytes);

}  // namespace platform
