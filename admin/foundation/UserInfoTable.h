#pragma once

#include "admin/foundation/Failure.h"
#include "platform/odbc/OdbcHandle.h"

#include <sql.h>

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

namespace admin { class CDatabseConnection; }

// One device user as the UserInfo table keeps it; the table's eight columns in this order.
struct UserInfoRow {
  QString PIN;
  QString Name;
  QString Designation;
  QString Department;
  // "A" added, "U" updated, "D" (or "DEL") removed.
  QString StatusFlag;
  // 0 the user synchronises from a menu, 1 every SyncInterval minutes.
  int32_t SyncOption = 0;
  int32_t SyncInterval = 0;
  // 1 BlackBerry, 2 iPhone, 3 Pocket PC.
  uint8_t DeviceType = 0;

  // Removed users stay in the table, hidden from every list.
  bool IsRemoved() const;
};

// The device users of the settings database, read through one statement of the settings
// connection whose eight columns are bound by position; the statement (and any lock the driver
// holds for it) goes with the object, since the sync program shares the database. Nothing is
// read or written while the connection is not connected.
class UserInfoTable {
 public:
  static constexpr int kTextChars = 1024;
  static constexpr int kFlagChars = 4;

  explicit UserInfoTable(admin::CDatabseConnection& settings);
  UserInfoTable(const UserInfoTable&) = delete;
  UserInfoTable& operator=(const UserInfoTable&) = delete;

  // Opens the table afresh and counts its rows; the row count (0 when it cannot be read).
  int32_t LoadUserInfo();
  bool IsOpen() const { return m_bOpen; }
  int32_t GetRowCount() const { return m_nRowCount; }
  // Row `row` (1 is the first) into `out`; false outside the table.
  bool GetRow(int32_t row, UserInfoRow* out);
  // Every row in the table's own order.
  QList<UserInfoRow> Rows();

  // True when a user who is not removed has this PIN, letter case aside.
  bool IsPinPresent(const QString& pin);
  // Adds the user; 1 when stored. When the PIN (letter case aside) belongs only to removed users,
  // the first of their rows is written over instead, so the device ID comes back as one row.
  // A failure is raised (shown and logged) and leaves the table as it was.
  int AddUserInfo(const UserInfoRow& row);
  // Writes the row over the user with exactly this PIN; 1 when stored. An unknown PIN or a
  // failure is raised (shown, and a failure logged) and leaves the table as it was.
  int UpdateUserInfo(const UserInfoRow& row);

 private:
  struct BoundRow {
    std::array<SQLWCHAR, kTextChars> texts[4]{};
    std::array<SQLWCHAR, kFlagChars> flag{};
    SQLINTEGER syncOption = 0;
    SQLINTEGER syncInterval = 0;
    SQLCHAR deviceType = 0;
    SQLLEN indicators[8]{};
  };

  bool EnsureLoaded();
  bool BindRow();
  UserInfoRow RowFromBuffer() const;
  // The stored PIN of the first row whose PIN equals `pin` letter case aside and that is
  // removed, when no other row has it; empty otherwise.
  QString FindOnlyRemovedPin(const QString& pin);
  // Runs `sql` with the row's eight values bound (and the PIN `where` after them when given);
  // the failure, logged at `location`, when the statement cannot be made or run.
  std::optional<admin::Failure> WriteRow(const QString& sql, const UserInfoRow& row, const QString* where,
                                         int location);
  int Write(const QString& sql, const UserInfoRow& row, const QString* where, int location);
  QString InsertText() const;
  QString UpdateText() const;

  admin::CDatabseConnection& m_settings;
  platform::OdbcHandle m_statement;
  BoundRow m_row;
  QStringList m_columnNames;
  int32_t m_nRowCount = 0;
  bool m_bOpen = false;
};
