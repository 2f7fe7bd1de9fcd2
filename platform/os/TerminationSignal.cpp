#include "platform/os/TerminationSignal.h"

#include <QSocketNotifier>

#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

namespace platform {
namespace {

// A signal handler may only write to a descriptor; the event loop reads the other end.
int signalPipe[2] = {-1, -1};

void WriteSignalByte(int) {
  const char byte = 1;
  const ssize_t written = write(signalPipe[0], &byte, 1);
  static_cast<void>(written);  // a full pipe already holds a pending request
}

}  // namespace

void OnTerminationSignal(QObject* context, std::function<void()> handler) {
  if (signalPipe[0] < 0 && socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0)
    return;
  auto* notifier = new QSocketNotifier(static_cast<qintptr>(signalPipe[1]), QSocketNotifier::Read, context);
  QObject::connect(notifier, &QSocketNotifier::activated, context, [handler = std::move(handler)] {
    char byte = 0;
    while (read(signalPipe[1], &byte, 1) > 0) {
    }
    handler();
  });
  struct sigaction action = {};
  action.sa_handler = WriteSignalByte;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
}

}  // namespace platform
