#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

// The parts of the Add Profile message that tell a device how to hold a profile's table before
// its rows arrive. Every length in the message is 16-bit: a part that would not fit is not built.
namespace profilemetadata {

inline constexpr int kHeaderSize = 112;
// The name field holds 31 UTF-16 units and the terminating 0.
inline constexpr qsizetype kMaxNameUnits = 31;

// One column of the profile's result as its record source describes it.
struct Column {
  int16_t kind = 0;  // 0: not supported, never sent
  int32_t size = 0;
  int16_t decimalDigits = 0;
  QString name;
};

// The 112-byte device database header: the name, attributes from the profile type (1 view or
// query, 2 stored procedure), version 0 for the destination "MainMemory" and 1 otherwise, the
// creation and modification time `now` (seconds since 1970), its own length, "MORV" and "TWKL".
QByteArray BuildDeviceDBHeader(const QString& profileName, const QString& syncDestination, int32_t profileType,
                               uint32_t now);

// The supported columns: their count, an offset per entry, then per column kind, size (38 for a
// decimal whose size reads 0), decimal digits and the name with its 0 unit.
std::optional<QByteArray> BuildColumnLayoutBlock(const QList<Column>& columns);

// The sort columns that `sortColumnsInfo` names ("<n>#" then "<length>#<name>#<direction>#<type>#"
// per column), read within the text: a value that is missing or has no "#" after it reads 0.
std::optional<QByteArray> BuildSortColumnsBlock(const QString& sortColumnsInfo);

// The positions among the supported columns of the result columns `resultIndexes`; indexes of
// unsupported or absent columns are left out, so the device is never pointed at a wrong column.
QList<int32_t> SupportedPositions(const QList<Column>& columns, const QList<int32_t>& resultIndexes);

// A count and the column positions, each uint16 big-endian.
QByteArray BuildColumnIndexBlock(const QList<int32_t>& positions);

// The whole message: type 1, the length of the rest, the ProfileID, the header, the layout
// block's length and the four blocks. Nothing when it would be longer than its length field says.
std::optional<QByteArray> AssembleAddProfile(int32_t profileId, const QByteArray& header, const QByteArray& layout,
                                             const QByteArray& sort, const QByteArray& autoNumber,
                                             const QByteArray& primaryKey);

}  // namespace profilemetadata
