#pragma once

#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace testsupport {

// A Python test double in a child process, spoken to through JSON lines: its first line is the
// hello ({"port": N, ...}), then one answer per command. Ended with the object (end of input
// ends a double).
class DoubleProcess {
 public:
  // Starts tests/support/`script` with `arguments`; the hello is then in Hello().
  DoubleProcess(const QString& script, const QStringList& arguments);
  ~DoubleProcess();
  DoubleProcess(const DoubleProcess&) = delete;
  DoubleProcess& operator=(const DoubleProcess&) = delete;

  // Empty when the double did not come up, with the reason in Error().
  QJsonObject Hello() const { return hello_; }
  QString Error() const { return error_; }

  // One command and its answer; {"ok": false, "error": ...} when the double did not answer.
  QJsonObject Command(const QJsonObject& command);

 private:
  QProcess process_;
  QJsonObject hello_;
  QString error_;
};

// A loopback port nobody listens on: bound once by the system's choice, then released.
uint16_t ClosedLoopbackPort();

}  // namespace testsupport
