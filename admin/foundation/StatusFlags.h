#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace admin { class CDatabseConnection; }

// The flag the administration program writes into a profile's or form's status rows when it
// deletes it; the sync program tells the devices and removes those rows afterwards.
inline const QString kDeleteStatusFlag = QStringLiteral("D");

// A status row is live until it is marked for deletion; the comparison is exact, so an empty
// flag (or "d") is live.
bool IsLiveStatusFlag(const QString& flag);

// The live flags in `column` of the rows of `sql`, in row order.
QStringList LiveStatusFlags(const admin::CDatabseConnection& connection, const QString& sql, int16_t column);
