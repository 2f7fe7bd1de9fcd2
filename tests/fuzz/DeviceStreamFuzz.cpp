#include "sync/engine/DeviceMessages.h"

#include <cstdlib>

// A stream from the devices, whatever it holds: every message read lies inside the stream.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArrayView stream(data, static_cast<qsizetype>(size));
  const devicemessages::DeviceStream read = devicemessages::ReadDeviceStream(stream);
  qsizetype carried = 0;
  for (const devicemessages::DeviceMessage& message : read.messages) carried += 2 + message.rowData.size();
  if (carried > stream.size()) std::abort();
  return 0;
}
