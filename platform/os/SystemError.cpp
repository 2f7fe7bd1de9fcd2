#include "platform/os/SystemError.h"

#include <cerrno>
#include <cstring>

namespace platform {
namespace {

bool IsControl(QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; }

}  // namespace

int GetLastError() { return errno; }

QString GetSystemErrorText(int code) {
  char buffer[256];
  // The GNU strerror_r returns the message, which may or may not be in `buffer`.
  QString text = QString::fromLocal8Bit(strerror_r(code, buffer, sizeof buffer));
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (IsControl(text[i]) && text[i] != u'\t') {
      text.truncate(i);
      break;
    }
  }
  while (!text.isEmpty() && (text.back() == u'.' || text.back() == u' ' || IsControl(text.back()))) {
    text.chop(1);
  }
  return text;
}

}  // namespace platform
