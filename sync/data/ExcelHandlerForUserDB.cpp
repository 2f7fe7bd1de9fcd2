#include "sync/data/ExcelHandlerForUserDB.h"

#include "shared/devicerecord/DeviceRecord.h"

#include <optional>

int CExcelHandlerForUserDB::ReadRecord(int32_t row, QByteArray* record, uint8_t digest[kRowDigestSize]) const {
  const QStringList texts = RowTexts(row);
  if (texts.isEmpty()) return 0;
  QList<devicerecord::Value> values;
  values.reserve(texts.size());
  for (const QString& text : texts) values.append(devicerecord::Value::OfText(1, text));
  ComputeTextDigest(MakeRowText(texts), digest);
  const std::optional<QByteArray> encoded = devicerecord::Encode(values);
  if (!encoded) return devicerecord::kRecordNotEncodable;
  *record = *encoded;
  return static_cast<int>(record->size());
}
