#include "setup/installer/InstallState.h"

HostedPagesTarget HostedPagesOf(const InstallState& state) {
  HostedPagesTarget target;
  target.host = state.service.webService.host;
  target.port = state.service.webService.port;
  target.transport = state.service.webService.transport;
  target.connection = state.service.connection;
  return target;
}
