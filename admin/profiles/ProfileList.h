#pragma once

#include "shared/data/ProfileRecord.h"

#include <QList>
#include <QString>

#include <cstdint>

namespace admin { class CDatabseConnection; }

// The stored profiles as the Profile Manager lists them, apart from its widgets.

struct ProfileListRow {
  int32_t profileId = 0;
  QString name;
  QString source;  // the data source name, or the folder and file of a desktop database
  QString query;
  bool pending = false;  // a status row waits for the sync program: shown red
};

// The profiles with a live status row, in ProfileInfo order; profiles whose rows are all "D"
// are gone for the devices and not listed.
QList<ProfileListRow> LoadProfileList(const admin::CDatabseConnection& settings);
