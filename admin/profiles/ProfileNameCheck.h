#pragma once

#include <QString>

#include <functional>

// The checks both profile pages make of a profile name at Finish.

enum class ProfilePage { kTable, kProcedure };

// The message that refuses `name` (trimmed of blanks here), or an empty text when it passes.
// `profileExists` tells whether a stored profile bears a name; the edited profile's own stored
// name (`editedName`, empty for a new profile) is no clash. The table page refuses "SampleDB" in
// any letter case, the procedure page only as written.
QString CheckProfileName(const QString& name, ProfilePage page, const QString& editedName,
                         const std::function<bool(const QString&)>& profileExists);
