#pragma once

#include <QString>

#include <vector>

// A column of the form's profile with its SQL type name ("SQL_VARCHAR", ...), as the new-form
// wizard hands it to the designer.
struct ProfileColumn {
  QString Name;
  QString SqlType;
};

using ProfileColumns = std::vector<ProfileColumn>;
