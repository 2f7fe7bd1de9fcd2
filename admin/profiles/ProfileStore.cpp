#include "admin/profiles/ProfileStore.h"

#include "admin/foundation/AdminRegistry.h"
#include "admin/foundation/AppLog.h"
#include "admin/foundation/ProfileQueries.h"
#include "admin/foundation/ProfileStatements.h"
#include "admin/foundation/SettingsTransaction.h"
#include "platform/widgets/MessageBox.h"

#include <algorithm>

namespace {

// The texts that differ between the two pages.
struct PageTexts {
  QString created;
  QString editError;
};

const QString kAfterSaving = QStringLiteral(
    " successfully. Initially Profile color will be red, Please sync from iPhone//iPad when red color will change to "
    "normal color.");
const QString kUpdated = QStringLiteral("Profile updated") + kAfterSaving;
const QString kCreationError = QStringLiteral("Error in Profile Creation");

const PageTexts& TableTexts() {
  static const PageTexts texts = {QStringLiteral("Profile created") + kAfterSaving, kCreationError};
  return texts;
}

const PageTexts& ProcedureTexts() {
  static const PageTexts texts = {QStringLiteral("Profile Created") + kAfterSaving,
                                  QStringLiteral("Error in Profile Creation for Edit Profile")};
  return texts;
}

const QString kNoDeviceId =
    QStringLiteral("Device ID of this desktop is not available. Please install Tarnwick Plus Lite again.");
const QString kCounterError = QStringLiteral("Error in Database Synchronization profile creation.");

void Show(const QString& text, unsigned icon) {
  platform::MessageBox(nullptr, text, ProgramTitle(), platform::MB_OK | icon);
}

void Refuse(const QString& text, unsigned icon) {
  WriteAppLog(-1, text);
  Show(text, icon);
}

// A text the settings database would cut: its name, else empty.
QString OverlongText(const ProfileRecord& record) {
  if (record.Query.size() > kLongestProfileText) return QStringLiteral("Query");
  if (record.FiltersInfo.size() > kLongestProfileText) return QStringLiteral("FiltersInfo");
  if (record.SortColumnsInfo.size() > kLongestProfileText) return QStringLiteral("SortColumnsInfo");
  return {};
}

bool CheckRequest(const ProfileStoreRequest& request, const ProfileRecord& record) {
  if (request.defaultUserId.isEmpty()) {
    Refuse(kNoDeviceId, platform::MB_ICONERROR);
    return false;
  }
  if (const QString overlong = OverlongText(record); !overlong.isEmpty()) {
    Refuse(QStringLiteral("The %1 of this profile is longer than %2 characters and cannot be stored. Please, select "
                          "fewer columns, filters or sort columns.")
               .arg(overlong)
               .arg(kLongestProfileText),
           platform::MB_ICONINFORMATION);
    return false;
  }
  return true;
}

// A number for a new profile, the counter already past it; 0 when none can be handed out.
int32_t TakeNextProfileID(const admin::CDatabseConnection& settings) {
  int counter = 0;
  const int32_t highestUsed = GetHighestUsedProfileID(settings);
  if (GetNextProfileID(&counter) == 0 || counter <= 0 || highestUsed < 0) {
    WriteAppLog(-1, QStringLiteral("Failed to Get Next Profile ID Settings."));
    Show(kCounterError, platform::MB_ICONINFORMATION);
    return 0;
  }
  // A counter that lags behind the stored profiles would hand out a number in use.
  const int32_t id = std::max<int32_t>(counter, highestUsed + 1);
  if (SetNextProfileID(id + 1) == 0) {
    WriteAppLog(-1, QStringLiteral("Failed to Set Next Profile ID to %1 in Settings.").arg(id + 1));
    Show(kCounterError, platform::MB_ICONINFORMATION);
    return 0;
  }
  return id;
}

bool SaveStatusRows(admin::CDatabseConnection& settings, const ProfileRecord& record) {
  for (const QString& user : record.UserList.split(u',', Qt::SkipEmptyParts)) {
    if (SaveUserProfileStatus(settings, {user, record.ProfileID, QStringLiteral("A")}) == 1) continue;
    WriteAppLog(-1, QStringLiteral("Error to save UserProfileStatus of User %1 for Profile ID %2.")
                        .arg(user)
                        .arg(record.ProfileID));
    return false;
  }
  return true;
}

bool RemoveForEdit(admin::CDatabseConnection& settings, const ProfileRecord& record) {
  if (!MarkProfileStatusDeleted(settings, record.ProfileID) || !DeleteProfileInfoRow(settings, record.ProfileID))
    return false;
  WriteAppLog(
      24,
      QStringLiteral("Profile %1 with Profile ID %2 is removed for Edit.").arg(record.DBInfo).arg(record.ProfileID));
  return true;
}

// The statements of the profile inside `transaction`, committed when all succeeded.
bool WriteProfile(admin::CDatabseConnection& settings, SettingsTransaction& transaction, ProfileStoreMode mode,
                  const ProfileRecord& record) {
  if (!transaction.IsOpen()) return false;
  if (mode == ProfileStoreMode::kEdit && !RemoveForEdit(settings, record)) return false;
  if (SaveProfileInfo(settings, record) != 1) {
    WriteAppLog(-1, QStringLiteral("Error in Profile Creation."));
    return false;
  }
  if (!SaveStatusRows(settings, record)) return false;
  if (mode == ProfileStoreMode::kNew && !InitNextRecIndex(record.ProfileID)) {
    WriteAppLog(-1, QStringLiteral("Failed to set the record index of Profile ID %1.").arg(record.ProfileID));
    return false;
  }
  return transaction.Commit();
}

bool StoreProfile(admin::CDatabseConnection& settings, const ProfileStoreRequest& request, ProfileRecord* record,
                  const PageTexts& texts) {
  if (!CheckRequest(request, *record)) return false;
  record->UserList = request.defaultUserId + u',';
  record->SyncDestination = QStringLiteral("MainMemory");
  record->IsPrimaryKeySelected = 0;
  WriteAppLog(-1, QStringLiteral("UserList assign to Profile : %1.").arg(record->UserList));
  if (request.mode == ProfileStoreMode::kNew) {
    record->ProfileID = TakeNextProfileID(settings);
    if (record->ProfileID == 0) return false;
  }
  bool written = false;
  {
    SettingsTransaction transaction(settings);
    written = WriteProfile(settings, transaction, request.mode, *record);
  }
  const bool edit = request.mode == ProfileStoreMode::kEdit;
  if (!written) {
    Refuse(edit ? texts.editError : kCreationError, platform::MB_ICONERROR);
    return false;
  }
  if (edit && !InitNextRecIndex(record->ProfileID))
    WriteAppLog(-1, QStringLiteral("Failed to set the record index of Profile ID %1.").arg(record->ProfileID));
  const QString& done = edit ? kUpdated : texts.created;
  WriteAppLog(-1, done);
  Show(done, platform::MB_ICONINFORMATION);
  return true;
}

}  // namespace

bool CreateTableProfile(admin::CDatabseConnection& settings, const ProfileStoreRequest& request, ProfileRecord* record) {
  return StoreProfile(settings, request, record, TableTexts());
}

bool CreateProcedureProfile(admin::CDatabseConnection& settings, const ProfileStoreRequest& request, ProfileRecord* record) {
  return StoreProfile(settings, request, record, ProcedureTexts());
}
