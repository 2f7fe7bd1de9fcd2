#pragma once

#include "shared/data/ProfileRecord.h"

#include <QString>

namespace admin { class CDatabseConnection; }

// The Profile Manager's Edit and Remove of the profile listed under a name, and its warning on
// the sync program, apart from its widgets. Message boxes carry the program's caption.

// Why the listed profile cannot be edited (no such profile, a sample profile, a pending one);
// empty when it can, with the stored profile in `record`.
QString EditProfileRefusal(const admin::CDatabseConnection& settings, const QString& name, ProfileRecord* record);

// Asks, checks the forms that depend on the profile, and removes it; its forms go only after
// the profile went. True when removed; every refusal and failure is shown.
bool RemoveListedProfile(admin::CDatabseConnection& settings, const QString& name);

// The warning for IsSyncProcessRunning's answer; empty when the program runs (1).
QString SyncProcessWarning(int running);
