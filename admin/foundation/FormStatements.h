#pragma once

#include <QString>

#include <cstdint>

namespace admin { class CDatabseConnection; }

// The administration program's writes of forms into the settings database: a FormInfo row per
// form, a FormDetails row per tab, UserFormStatus rows per device user, and their deletion.
// Each answers 1 when done and 0 when it failed; a failed save shows its message box. Text
// values are stored exactly as given.

int SaveFormInfo(admin::CDatabseConnection& connection, int32_t formId, int32_t profileId, const QString& title,
                 const QString& formText);
int SaveFormDetails(admin::CDatabseConnection& connection, int32_t formId, int32_t tabIndex, const QString& tabTitle,
                    const QString& tabText);
int SaveUserFormStatus(admin::CDatabseConnection& connection, int32_t formId, const QString& userId, const QString& flag);

// Marks the form's status rows "D" (so the sync program tells the devices), then deletes its
// tabs and its FormInfo row. When the status rows cannot be marked nothing is deleted and the
// answer is 0; a later failure is only logged. `settings` is the application's settings
// connection, here and below.
int DeleteForm(admin::CDatabseConnection& settings, int32_t formId);
// The same three statements for a caller's transaction: 1 when all ran, else 0 at the first
// that failed, for the caller to roll back.
int DeleteFormInTransaction(admin::CDatabseConnection& settings, int32_t formId);
// Deletes every form of the profile; 1.
int DeleteFormsOfProfile(admin::CDatabseConnection& settings, int32_t profileId);
