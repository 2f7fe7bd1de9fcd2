#include "shared/devicerecord/DeviceRecord.h"

#include <cstdlib>

// A record from a device, whatever it holds, read against column kinds taken from the input's
// first bytes: decoding stays inside the record, and what decodes encodes to a record again.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static constexpr int16_t kKinds[] = {1, 2, 4, 5, 7, 8, 9, 10, 93, -6, -7, 0};
  if (size < 1) return 0;
  const size_t columns = data[0] % 8;
  if (size < 1 + columns) return 0;
  QList<int16_t> kinds;
  for (size_t i = 0; i < columns; ++i) kinds.append(kKinds[data[1 + i] % std::size(kKinds)]);
  const QByteArrayView record(data + 1 + columns, static_cast<qsizetype>(size - 1 - columns));
  QString error;
  const auto values = devicerecord::Decode(record, kinds, &error);
  if (values && (values->size() != kinds.size() || !devicerecord::Encode(*values))) std::abort();
  if (!values && error.isEmpty()) std::abort();
  return 0;
}
