#pragma once

namespace admin { class CDBHandler; }

// Whether some row of the source has every column empty: the devices cannot tell such a row
// from a missing one, so a profile over it is refused.
bool HasEmptyRow(admin::CDBHandler& rows);
