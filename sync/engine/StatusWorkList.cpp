#include "sync/engine/StatusWorkList.h"

#include "sync/data/SyncLog.h"
#include "sync/data/UserFormStatusTable.h"
#include "sync/data/UserProfileStatusTable.h"
#include "sync/engine/SyncStatus.h"
#include "sync/engine/WebServiceCaller.h"

#include <algorithm>
#include <cstdio>

namespace {

template <typename Table, typename ToRow>
std::vector<StatusRow> Select(Table& table, const QString& clause, int errorCode, ToRow toRow) {
  QString error;
  if (table.InitializeTable(clause, &error) != 1) {
    WriteSyncServiceLog(errorCode, error);
    return {};
  }
  std::vector<StatusRow> rows;
  const int count = table.GetRecordCount();
  for (int i = 0; i < count; ++i) rows.push_back(toRow(table.ReadRecord(i)));
  return rows;
}

}  // namespace

std::vector<StatusRow> SelectStatusRows(CUserProfileStatusTable& table, const QString& clause, int errorCode) {
  return Select(table, clause, errorCode, [](const UserProfileStatusRow& row) {
    return StatusRow{row.ProfileID, row.UserID, row.StatusFlag};
  });
}

std::vector<StatusRow> SelectStatusRows(CUserFormStatusTable& table, const QString& clause, int errorCode) {
  return Select(table, clause, errorCode, [](const UserFormStatusRow& row) {
    return StatusRow{row.FormID, row.UserID, row.StatusFlag};
  });
}

DeviceListEntry& StatusWorkList::Add(int32_t id, const QString& userId) {
  auto entry = std::find_if(m_entries.begin(), m_entries.end(), [id](const DeviceListEntry& e) { return e.id == id; });
  if (entry == m_entries.end()) {
    m_entries.push_back(DeviceListEntry{.id = id, .deviceList = QString(), .included = true});
    entry = m_entries.end() - 1;
  }
  AppendProfileDeviceId(&*entry, userId);
  return *entry;
}

bool SendToWebService(const QByteArray& bytes) {
  const SyncSemaphoreHold hold(ChangeDetectSemaphore());
  if (!hold.Held()) return false;
  CWebServiceCaller caller;
  return caller.SendData(bytes);
}

void PrintConsole(const QString& text) {
  std::fputs(text.toUtf8().constData(), stdout);
  std::fflush(stdout);
}
