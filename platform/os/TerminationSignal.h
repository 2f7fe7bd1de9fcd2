#pragma once

#include <QObject>

#include <functional>

namespace platform {

// From now on SIGTERM no longer ends the process at once: `handler` runs on the thread of
// `context` (in its event loop) for each signal, for as long as `context` lives. Called once per
// process.
void OnTerminationSignal(QObject* context, std::function<void()> handler);

}  // namespace platform
