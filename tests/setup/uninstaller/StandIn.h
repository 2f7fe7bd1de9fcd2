#pragma once

#include "tests/support/FreshMachineRoot.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <memory>

namespace uninstallertest {

// A copy of `sleep` started under `name` with the machine root `root`, so that the process's
// image carries that name; it ignores every stop request but a kill.
inline std::unique_ptr<QProcess> StartStandIn(const QString& name,
                                              const QString& root = testsupport::CurrentMachineRoot()) {
  const QString folder = testsupport::CurrentMachineRoot() + QStringLiteral("/standins");
  QDir().mkpath(folder);
  const QString path = folder + u'/' + name;
  if (!QFile::exists(path)) QFile::copy(QStringLiteral("/bin/sleep"), path);
  auto process = std::make_unique<QProcess>();
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("TARNWICK_MACHINE_ROOT"), root);
  process->setProcessEnvironment(environment);
  process->start(path, {QStringLiteral("120")});
  process->waitForStarted();
  return process;
}

}  // namespace uninstallertest
