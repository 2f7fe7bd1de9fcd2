#pragma once

#include "setup/common/SetupLog.h"

#include <QStringList>

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
