#include "shared/Endian.h"
#include "sync/data/FormDetailsDB.h"
#include "sync/data/SyncLog.h"
#include "sync/data/UserFormStatusTable.h"
#include "sync/engine/FormMetadata.h"
#include "sync/engine/MessageBuilders.h"
#include "sync/engine/StatusChangeCheck.h"
#include "sync/engine/StatusWorkList.h"
#include "sync/engine/StripBuilder.h"
#include "sync/engine/SyncStatus.h"

#include <optional>
#include <vector>

namespace {

const QString kAdded = QStringLiteral("A");
const QString kDefinitionSent = QStringLiteral("AD");
const QString kDataSent = QStringLiteral("AF");

void Log(const QString& text) { WriteSyncServiceLog(-1, text); }

// The tab records of a form, each preceded by its length; nothing when the tabs cannot be read or
// one of them cannot be packed, so that no part of such a form goes out.
std::optional<std::vector<QByteArray>> ReadTabEntries(int32_t formId) {
  CFormDetailsDB tabs;
  QString error;
  if (tabs.InitializeTable(QStringLiteral("Where FormID = %1").arg(formId), &error) != 1) {
    Log(error);
    return std::nullopt;
  }
  const int count = tabs.GetRecordCount();
  std::vector<QByteArray> entries;
  for (int i = 0; i < count; ++i) {
    const QByteArray record = BuildFormTabRecord(tabs.ReadRecord(i));
    if (record.isEmpty()) return std::nullopt;
    QByteArray entry;
    endian::AppendLE<uint32_t>(&entry, static_cast<uint32_t>(record.size()));
    entries.push_back(entry + record);
  }
  return entries;
}

// A refused strip: the form goes back to "A", so that its Add Form is sent again.
void GiveUpForm(CUserFormStatusTable& table, int32_t formId) {
  PrintConsole(QStringLiteral("\nProblem to Send Data of Form %1 to Web Service.\n").arg(formId));
  Log(QStringLiteral("Problem to Send Data of Form %1 to Web Service.").arg(formId));
  QString error;
  if (table.SetStatusFlag(formId, kDefinitionSent, kAdded, &error) == 1) return;
  Log(QStringLiteral("Failed to Set the Status of Form %1.").arg(formId));
  Log(error);
}

bool SendTabs(const StripBuilder& strip, int tabsSoFar, int32_t formId) {
  Log(QStringLiteral("Send %1 Tabs of Form %2 to Web Service.").arg(tabsSoFar).arg(formId));
  if (!SendToWebService(strip.Bytes())) return false;
  PrintConsole(QStringLiteral("\nNumber of Tabs %1 of Form %2 Send.\n").arg(tabsSoFar).arg(formId));
  Log(QStringLiteral("Number of Tabs %1 of Form %2 Send.").arg(tabsSoFar).arg(formId));
  return true;
}

enum class FormOutcome { Sent, GivenUp, Stopped };

FormOutcome SendForm(CUserFormStatusTable& table, const DeviceListEntry& entry, const std::vector<QByteArray>& tabs) {
  Log(QStringLiteral("Create Byte Strip For New Form %1 and Device List %2.").arg(entry.id).arg(entry.deviceList));
  StripBuilder strip(messages::AddFormDataHeader(entry.id, 1));
  for (size_t i = 0; i < tabs.size(); ++i) {
    if (strip.IsFullFor(tabs[i].size())) {
      if (!SendTabs(strip, static_cast<int>(i), entry.id)) {
        GiveUpForm(table, entry.id);
        return FormOutcome::GivenUp;
      }
      strip.Restart(messages::AddFormDataHeader(entry.id, 0));
    }
    strip.Append(tabs[i]);
  }
  if (SyncStopRequested()) {
    Log(QStringLiteral("Stop SyncService Event occurs."));
    return FormOutcome::Stopped;
  }
  PrintConsole(QStringLiteral("\n All tabs finished : END_OF_TAB \n"));
  Log(QStringLiteral("All Tabs finished, append END_OF_TAB."));
  strip.AppendEnd();
  if (!SendTabs(strip, static_cast<int>(tabs.size()), entry.id)) {
    GiveUpForm(table, entry.id);
    return FormOutcome::GivenUp;
  }
  PrintConsole(QStringLiteral("\n New Form Data sent : %1\n").arg(entry.id));
  Log(QStringLiteral("New Form Data Send : %1.").arg(entry.id));
  QString error;
  if (table.SetStatusFlag(entry.id, kDefinitionSent, kDataSent, &error) != 1) {
    Log(QStringLiteral("Failed to Set the Status of Form %1.").arg(entry.id));
    Log(error);
  }
  return FormOutcome::Sent;
}

}  // namespace

void CStatusChangeCheck::SendNewFormData() const {
  CUserFormStatusTable table;
  StatusWorkList work;
  for (const StatusRow& row : SelectStatusRows(table, QStringLiteral("Where StatusFlag = '%1'").arg(kDefinitionSent), -1))
    work.Add(row.id, row.userId);
  for (const DeviceListEntry& entry : work.Entries()) {
    if (SyncStopRequested()) return;
    const std::optional<std::vector<QByteArray>> tabs = ReadTabEntries(entry.id);
    if (!tabs) continue;
    if (SendForm(table, entry, *tabs) == FormOutcome::Stopped) return;
  }
}
