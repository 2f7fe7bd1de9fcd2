#include "platform/text/Utf8Text.h"

namespace platform {

QString FromUtf8KeepingBom(QByteArrayView bytes) {
  QString text;
  while (bytes.startsWith("\xEF\xBB\xBF")) {
    text += QChar(0xFEFF);
    bytes = bytes.sliced(3);
  }
  return text.isEmpty() ? QString::fromUtf8(bytes) : text + QString::fromUtf8(bytes);
}

}  // namespace platform
