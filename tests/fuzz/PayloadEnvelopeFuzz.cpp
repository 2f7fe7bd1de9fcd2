#include "shared/soap/SoapExchange.h"
#include "sync/engine/PayloadEnvelope.h"

#include <cstdlib>

// An answer from the web service, whatever it holds: its result and fault texts are taken
// within bounds, and an envelope opens only whole, never to more bytes than its ciphertext.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArrayView input(data, static_cast<qsizetype>(size));
  const QString answer = QString::fromUtf8(input);
  const soap::Result result = soap::FindResult(answer, QStringLiteral("GetDataForDesktopResult"));
  if (result.text.size() > answer.size()) std::abort();
  if (const auto reason = soap::FindFaultReason(answer); reason && reason->size() > answer.size()) std::abort();

  const auto opened = envelope::OpenEnvelope(input, envelope::kDesktopLabel);
  if (opened && (opened->size() != input.size() - envelope::kHeadSize || opened->size() % 16 != 0)) std::abort();
  return 0;
}
