// The workbook path of DeviceChange: profiles whose rows live in a worksheet.
#include "platform/workbook/Workbook.h"
#include "sync/data/ExcelConnection.h"
#include "sync/data/ExcelHandlerForUserDB.h"
#include "sync/data/SyncLog.h"
#include "sync/data/SyncSystem.h"
#include "sync/engine/BackSyncRules.h"
#include "sync/engine/DeviceChange.h"
#include "sync/engine/ProfileSnapshot.h"
#include "sync/engine/RecordLookup.h"
#include "sync/engine/SyncStatus.h"

#include <QFileInfo>

using devicemessages::kRecordAdded;
using devicemessages::kRecordUpdated;

namespace {

const QString kSheetUpdateIgnored = QStringLiteral(
    "Desktop Record with Source : %1 & RecordIndex : %2 for Profile %3 is already Changed, So device update request "
    "is ignored.");
const QString kSheetDeleteIgnored = QStringLiteral(
    "Desktop Record with Source : %1 & RecordIndex : %2 for Profile %3 is already Changed, so device delete request "
    "is ignored.");
const char kNoRowToUpdate[] = "Record with Source : %1 & RecordIndex : %2 to be updated is not exists in database.";
const char kNoRowToDelete[] = "Record with Source : %1 & RecordIndex : %2 to be deleted is not exists in database.";
const char kRowNotDeleted[] = "The sheet row of Record with Source : %1 & RecordIndex : %2 could not be deleted.";

}  // namespace

DeviceChangeOutcome DeviceChange::ApplyToWorkbook(const ProfileRecord& profile) const {
  const QString workbook = profile.Path + profile.DB_DSN;
  const QString sheetName = WorksheetNameOfQuery(profile.Query);
  if (sheetName.isEmpty()) {
    const QString reason = QStringLiteral("The profile query names no worksheet of workbook %1.").arg(profile.DB_DSN);
    WriteBackSyncLog(-1, reason);
    return DeviceChangeOutcome::Answer(0, reason);
  }
  if (IsFileLocked(workbook)) {
    WriteBackSyncLog(-1, QStringLiteral("Problem in connecting Excel profile, Excel Sheet already open."));
    return DeviceChangeOutcome::Keep();
  }
  syncservice::CExcelConnection connection;
  QString error;
  if (connection.OpenWorkbook(workbook, &error, false) != 1) {
    WriteBackSyncLog(-1, QStringLiteral("Problem in connecting Excel profile."));
    return DeviceChangeOutcome::Keep();
  }
  if (IsDelete()) {
    WriteBackSyncLog(-1, QStringLiteral("Success in connecting Excel profile."));
  } else {
    WriteBackSyncLog(-12, QStringLiteral("Success to connecting Excel profile."));
  }
  if (connection.GetWorksheets()->FromXls()) {
    const QString reason =
        QStringLiteral("The workbook %1 is an .xls file, which can only be read.").arg(QFileInfo(workbook).fileName());
    WriteBackSyncLog(-1, reason);
    return DeviceChangeOutcome::Answer(0, reason);
  }
  CExcelHandlerForUserDB sheet;
  if (sheet.OpenWorksheet(connection.GetWorksheets(), sheetName) != 1) {
    const QString reason = QStringLiteral("The workbook %1 has no worksheet \"%2\".").arg(profile.DB_DSN, sheetName);
    WriteBackSyncLog(-1, reason);
    return DeviceChangeOutcome::Answer(0, reason);
  }
  return ApplyToSheet(sheet, *connection.GetWorksheets());
}

DeviceChangeOutcome DeviceChange::ApplyToSheet(CExcelHandlerForUserDB& sheet, platform::Workbook& book) const {
  ProfileSnapshot snapshot(m_message.profileId);
  if (m_message.type == kRecordAdded) {
    return AddRow(snapshot, -1, [&](uint8_t* digest, QString* reason) {
      return sheet.AddRecord(m_message.rowData, digest, reason) == 1 && book.Save(reason);
    });
  }
  return ChangeSheetRow(sheet, book, snapshot);
}

DeviceChangeOutcome DeviceChange::ChangeSheetRow(CExcelHandlerForUserDB& sheet, platform::Workbook& book,
                                                 ProfileSnapshot& snapshot) const {
  const bool update = m_message.type == kRecordUpdated;
  WriteBackSyncLog(-1, RecordText(update ? "In Record Update, RecordSource : %1 & RecordIndex : %2"
                                         : "In Record Delete, RecordSource : %1 & RecordIndex : %2"));
  CdbEntry entry = MessageEntry();
  int32_t row = -1;
  if (!FindRecordBySourceIndex(sheet, m_message.profileId, &row, &entry, 1)) {
    return Conflict(update ? kSheetUpdateIgnored : kSheetDeleteIgnored);
  }
  if (row < 0) return WriteFailed(-1, RecordText(update ? kNoRowToUpdate : kNoRowToDelete));
  const SyncSemaphoreHold hold(BackTrackConflictSemaphore());
  if (!hold.Held()) return DeviceChangeOutcome::Keep();
  if (update) return UpdateSheetRow(sheet, book, row + 1, snapshot);
  return DeleteSheetRow(sheet, book, row + 1, entry, snapshot);
}

DeviceChangeOutcome DeviceChange::UpdateSheetRow(CExcelHandlerForUserDB& sheet, platform::Workbook& book,
                                                 int32_t sheetRow, ProfileSnapshot& snapshot) const {
  uint8_t digest[kRowDigestSize];
  QString error;
  if (sheet.UpdateRecord(m_message.rowData, sheetRow, digest, &error) != 1 || !book.Save(&error)) {
    return WriteFailed(-1, error);
  }
  snapshot.ReplaceDigest(m_message.recordSource, m_message.recordIndex, digest);
  RecordWrittenRow(digest, snapshot);
  return DeviceChangeOutcome::Synced();
}

DeviceChangeOutcome DeviceChange::DeleteSheetRow(CExcelHandlerForUserDB& sheet, platform::Workbook& book,
                                                 int32_t sheetRow, const CdbEntry& entry,
                                                 ProfileSnapshot& snapshot) const {
  if (sheet.DeleteRecord(sheetRow) != 1) return WriteFailed(-1, RecordText(kRowNotDeleted));
  QString error;
  if (!book.Save(&error)) return WriteFailed(-1, error);
  snapshot.Remove(m_message.recordSource, m_message.recordIndex);
  RecordWrittenRow(entry.digest.data(), snapshot);
  return DeviceChangeOutcome::Synced();
}
