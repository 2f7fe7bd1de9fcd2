#include "sync/data/ProfileDataReader.h"
#include "sync/data/ProfileInfoDB.h"
#include "sync/data/SyncLog.h"
#include "sync/engine/ProfileMetadata.h"
#include "sync/engine/ProfileSource.h"
#include "sync/engine/StatusChangeCheck.h"

#include <QDateTime>

namespace {

QList<profilemetadata::Column> DescribeColumns(syncservice::CDBHandler& handler) {
  QList<profilemetadata::Column> columns;
  const int16_t count = handler.GetColumnCount();
  for (int16_t i = 0; i < count; ++i) {
    columns.append({.kind = handler.GetColumnType(i),
                    .size = handler.GetColumnSize(i),
                    .decimalDigits = handler.GetColumnDecimalDigits(i),
                    .name = handler.GetColumnName(i)});
  }
  return columns;
}

QList<int32_t> Widened(const QList<int16_t>& columns) { return QList<int32_t>(columns.begin(), columns.end()); }

}  // namespace

QByteArray CStatusChangeCheck::BuildProfileMetadata(int32_t profileId) const {
  std::optional<ProfileRecord> record = ReadProfileRecord(profileId, 74, 75);
  if (!record) return {};
  syncservice::ProfileDataReader reader;
  if (!OpenProfileForSending(*record, &reader, 77, 76)) return {};

  const auto now = static_cast<uint32_t>(QDateTime::currentSecsSinceEpoch());
  const QByteArray header = profilemetadata::BuildDeviceDBHeader(reader.GetProfileName(), record->SyncDestination,
                                                                 record->ProfileType, now);
  const QList<profilemetadata::Column> columns = DescribeColumns(reader.GetColumnHandler());
  const std::optional<QByteArray> layout = profilemetadata::BuildColumnLayoutBlock(columns);
  const std::optional<QByteArray> sort = profilemetadata::BuildSortColumnsBlock(record->SortColumnsInfo);

  QList<int16_t> autoNumber;
  WriteSyncServiceLog(-1, QStringLiteral("Number of AutoNumber Column : %1").arg(reader.GetAutoNumberColumns(&autoNumber)));
  QList<int16_t> keys;
  WriteSyncServiceLog(-1, QStringLiteral("Number of PrimaryKey Column : %1").arg(reader.GetPrimaryKeyColumns(&keys)));

  std::optional<QByteArray> message;
  if (layout && sort) {
    message = profilemetadata::AssembleAddProfile(
        profileId, header, *layout, *sort,
        profilemetadata::BuildColumnIndexBlock(profilemetadata::SupportedPositions(columns, Widened(autoNumber))),
        profilemetadata::BuildColumnIndexBlock(profilemetadata::SupportedPositions(columns, Widened(keys))));
  }
  if (!message) {
    WriteSyncServiceLog(-1, QStringLiteral("Profile %1 is not sent: its Add Profile message exceeds 65535 bytes.")
                                .arg(profileId));
    return {};
  }
  return *message;
}
