#pragma once

#include "shared/data/ProfileRecord.h"
#include "sync/data/DatabseConnection.h"
#include "sync/engine/CdbFile.h"
#include "tests/support/OdbcTestServers.h"
#include "tests/support/WebServiceDouble.h"

#include <QByteArray>
#include <QJsonArray>
#include <QList>
#include <QString>

#include <cstdint>

// A profile that a user holds in step, over a table of its own on one engine: the settings
// database lists it, its snapshot and the test double's device hold the same rows, and its
// record-index counter stands after them. The table's rows are the desktop side of the checks.
namespace synctest {

// One desktop row as the devices see it.
struct DesktopRow {
  QByteArray record;
  CdbEntry entry;  // digest only: the identity comes from the snapshot
};

class InStepProfile {
 public:
  static constexpr int32_t kProfileId = 7;

  // How a workbook profile is read: through the workbook model (kind 7), or as the text files
  // its sheets are exported to (kind 4, with a tempPath of its own).
  enum class Workbook { Model, TextExport };

  // The installation, the settings database and the web-service settings are in place; the
  // table is made with `rows` rows. False with the reason when the engine cannot be had ("skip:"
  // when its server was not started).
  bool Create(odbctest::Engine engine, testsupport::WebServiceDouble* service, int rows, QString* unavailable);
  // The same over a workbook of `rows` rows below a header row.
  bool CreateWorkbook(Workbook kind, testsupport::WebServiceDouble* service, int rows, QString* unavailable);
  ~InStepProfile();

  // The workbook written anew with `rows` rows, row `renamed` (when not negative) renamed.
  bool WriteWorkbook(int rows, int renamed = -1) const;

  // A statement on the profile's own database; the failure text when it fails, else empty.
  QString Run(const QString& sql);
  QString Table() const { return m_strTable; }
  // "INSERT INTO <table> (name, note, qty, amount, day, ratio) VALUES (...)" for row number `n`.
  QString InsertSql(int n) const;

  // Every user's status row of the profile gets `flag`; the failure text, else empty.
  QString SetStatusFlag(const QString& flag);
  // The device holds the profile without a record.
  void EmptyDevice();

  // The table's rows as device records with their digests, in query order.
  QList<DesktopRow> DesktopRows();
  QList<CdbEntry> Snapshot() const;
  bool SnapshotExists() const;
  void RemoveSnapshot() const;
  int32_t NextRecordIndex() const;

  // The hex texts of the device's records of the profile, sorted; and of the desktop's rows.
  QStringList DeviceRecords();
  QStringList DesktopRecords();
  // The device's (source, index) pairs as "source#index", sorted.
  QStringList DeviceKeys();
  // The "name" column of the table's rows, and of the device's records, sorted: a row the device
  // added carries its own id there and the number the database gave it here.
  QStringList DesktopNames();
  QStringList DeviceNames();
  // The device's records as {"source", "index", "values"}.
  QJsonArray DeviceRecordObjects();

 private:
  void Prepare(testsupport::WebServiceDouble* service);
  // The profile's settings rows, one user holding it in step, and the seeded snapshot and device.
  bool Install(QString* unavailable);
  void Seed(const QList<DesktopRow>& rows);
  QList<int16_t> Kinds();
  QList<DesktopRow> WorkbookRows();

  bool m_bWorkbook = false;
  ProfileRecord m_profile;
  odbctest::Engine m_engine = odbctest::Engine::Sqlite;
  testsupport::WebServiceDouble* m_pService = nullptr;
  syncservice::CDatabseConnection m_source;
  syncservice::CDatabseConnection m_settings;
  QString m_strTable;
  QString m_strSettingsFile;
  bool m_bCreated = false;
};

// A turn's pass of change detection, in this process.
void RunChangeDetection();

}  // namespace synctest
