#pragma once

#include "sync/engine/MessageBuilders.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

class CUserFormStatusTable;
class CUserProfileStatusTable;

// One row of a status table as the passes use it: the profile's or form's ID, the user and the
// flag.
struct StatusRow {
  int32_t id = 0;
  QString userId;
  QString flag;
};

// The rows the selection `clause` gives; a failed selection logs its error text with `errorCode`
// and gives none.
std::vector<StatusRow> SelectStatusRows(CUserProfileStatusTable& table, const QString& clause, int errorCode);
std::vector<StatusRow> SelectStatusRows(CUserFormStatusTable& table, const QString& clause, int errorCode);

// The profiles or forms of one pass, in the order each ID first occurs, each with the users of
// its rows.
class StatusWorkList {
 public:
  // The entry of `id`, made when it is new, with `userId` added to its device list.
  DeviceListEntry& Add(int32_t id, const QString& userId);

  std::vector<DeviceListEntry>& Entries() { return m_entries; }
  const std::vector<DeviceListEntry>& Entries() const { return m_entries; }

 private:
  std::vector<DeviceListEntry> m_entries;
};

// One exchange with the web service under CHANGE_DETECT_FOR_TarnwickPLite; true when the service
// took the bytes. A stop requested while waiting for the lock counts as a refusal.
bool SendToWebService(const QByteArray& bytes);

// A narrow line on the console, as the passes print their progress.
void PrintConsole(const QString& text);
