#include "tests/support/FreshMachineRoot.h"

#include <QDir>

#include <cstdio>
#include <cstdlib>

namespace testsupport {

void FreshMachineRoot::OnTestStart(const ::testing::TestInfo&) {
  root_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/tarnwick-test-XXXXXX"));
  if (!root_->isValid()) {
    // Without its own root the case would work in the real home and data folders.
    std::fprintf(stderr, "no temporary machine root: %s\n", qPrintable(root_->errorString()));
    std::abort();
  }
  const QByteArray path = root_->path().toUtf8();
  const QByteArray home = path + "/home";
  QDir().mkpath(QString::fromUtf8(home));
  setenv("TARNWICK_MACHINE_ROOT", path.constData(), 1);
  setenv("HOME", home.constData(), 1);
  setenv("XDG_DATA_HOME", (home + "/.local/share").constData(), 1);
  setenv("XDG_CONFIG_HOME", (home + "/.config").constData(), 1);
}

void FreshMachineRoot::OnTestEnd(const ::testing::TestInfo& info) {
  // A failed case keeps its root for a look at what it left behind.
  if (info.result() != nullptr && info.result()->Failed()) {
    root_->setAutoRemove(false);
    std::fprintf(stderr, "machine root kept at %s\n", qPrintable(root_->path()));
  }
  root_.reset();
}

QString CurrentMachineRoot() { return qEnvironmentVariable("TARNWICK_MACHINE_ROOT"); }

void InstallFreshMachineRoot() {
  ::testing::UnitTest::GetInstance()->listeners().Append(new FreshMachineRoot);
}

}  // namespace testsupport
