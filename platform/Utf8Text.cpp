#include "platform/Utf8Text.h"

#include <QStringDecoder>

namespace platform {

QString FromUtf8KeepingBom(QByteArrayView bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8,
                         QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
  return decoder.decode(bytes);
}

}  // namespace platform
