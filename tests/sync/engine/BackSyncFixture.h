#pragma once

#include "shared/data/ProfileRecord.h"
#include "sync/data/DatabseConnection.h"
#include "sync/data/RowDigest.h"
#include "sync/engine/CdbFile.h"
#include "tests/support/LogReader.h"
#include "tests/support/OdbcTestServers.h"
#include "tests/support/WebServiceDouble.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QStringList>

#include <array>

namespace backsynctest {

inline constexpr int32_t kProfile = 7;
inline const QString kConflict = QStringLiteral("Record Data Updated at Desktop.");
inline const QString kSynced = QStringLiteral("Synced");

// {"profile", "source", "index", "code", "text"} of an acknowledgement of profile 7.
QJsonObject Ack(int32_t source, int32_t index, int code, const QString& text);

QStringList Texts(std::initializer_list<const char*> texts);

// The snapshot of profile 7, and its entry of a record (null when it has none).
QList<CdbEntry> Snapshot();
const CdbEntry* SnapshotEntry(const QList<CdbEntry>& entries, int32_t source, int32_t index);

// An installation of the sync program with its settings database, registered as device user
// "user01" at the address of a web-service double, with the program's status at "run".
class BackSyncFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Stores DeskInfo with `deviceId`, the double's address and the turns' interval, and loads them
  // as the program does.
  void Register(const QString& deviceId, int32_t turnMinutes = 1);
  static void RunOn(syncservice::CDatabseConnection& connection, const QString& sql);
  // A ProfileInfo row for the profile.
  void StoreProfile(const ProfileRecord& profile);
  // The device holds the records in step (record source 1, indexes from 1), the snapshot their digests.
  void SeedInStep(const QList<int16_t>& kinds, const QList<QByteArray>& records,
                  const QList<std::array<uint8_t, kRowDigestSize>>& digests);

  // "source#index=value:value..." of the device's records of profile 7.
  QStringList DeviceRecords();
  // "ProfileID/source/index/DeviceID/code/text" of the stored acknowledgements, in table order.
  QStringList PendingAcks();
  QList<testsupport::LogEntry> BackSyncLog() const;
  int LogLines(const QString& part) const;

  testsupport::WebServiceDouble service_;
  syncservice::CDatabseConnection settings_;
};

// A profile over a table "id (numbered by the database), name, qty" of three rows a, b, c on an
// engine, in step with the device.
class TableBackSync : public BackSyncFixture {
 protected:
  static const QList<int16_t> kKinds;

  // Creates the table; skips when the engine's server was not started.
  void SetUpTable(odbctest::Engine engine);
  void TearDown() override;

  ProfileRecord Profile(const QString& query, const QString& userList = QStringLiteral("user01,")) const;
  QString TableQuery() const;
  QString TableName() const;
  // Stores the profile and puts it in step with the device.
  void AddProfileInStep(const ProfileRecord& profile);

  // "id:name:qty" of every row, in id order.
  QStringList Rows();
  // The digest of the table's row `row` as the profile reader reads it now.
  std::array<uint8_t, kRowDigestSize> DesktopDigest(int32_t row);
  // The same with the row as a device record in `record`.
  std::array<uint8_t, kRowDigestSize> DesktopRow(int32_t row, QByteArray* record);
  static QJsonArray Values(int id, const char* name, int qty);

  odbctest::Engine engine_ = odbctest::Engine::Sqlite;
  syncservice::CDatabseConnection data_;
  bool created_ = false;
};

}  // namespace backsynctest
