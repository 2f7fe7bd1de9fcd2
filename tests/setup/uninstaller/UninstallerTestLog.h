#pragma once

#include "setup/common/SetupLog.h"

#include <QStringList>

#include <ostream>

// Texts in failure messages as text, not as UTF-16 units.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace uninstallertest {

// The lines a worker logged.
class RecordedLog {
 public:
  SetupLogSink Sink() {
    return [this](const QString& text) { lines_.append(text); };
  }
  const QStringList& Lines() const { return lines_; }

 private:
  QStringList lines_;
};

}  // namespace uninstallertest
