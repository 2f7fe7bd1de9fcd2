#pragma once

#include <QString>

namespace admin { class CDatabseConnection; }

// One UserPasswordStatus row: a device user's password and the flag the sync program acts on.
struct PasswordStatusRecord {
  QString UserID;
  QString Password;
  QString StatusFlag;
};

// The device passwords in the settings database. The writers answer 1 when done; on failure
// they log and show their message and answer 0. The caller's record is never changed by them.
int SaveUserPasswordStatus(admin::CDatabseConnection& connection, const PasswordStatusRecord& record);
int UpdateUserPasswordStatus(admin::CDatabseConnection& connection, const PasswordStatusRecord& record);

// Fills the password and flag of the user named in the record from its first row; 1 when there
// was one, else 0 with the record as it was.
int GetUserPasswordStatus(const admin::CDatabseConnection& connection, PasswordStatusRecord* record);
