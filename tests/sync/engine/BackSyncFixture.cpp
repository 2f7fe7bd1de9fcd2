#include "tests/sync/engine/BackSyncFixture.h"

#include "shared/RegistryRecords.h"
#include "shared/contract/RegistryNames.h"
#include "sync/data/DatabaseHandler.h"
#include "sync/data/ProfileDataReader.h"
#include "sync/data/SyncSettings.h"
#include "sync/engine/BackSyncDigestMap.h"
#include "sync/engine/SyncStatus.h"
#include "tests/support/AdminInstallation.h"
#include "tests/support/SettingsStore.h"
#include "tests/support/SyncInstallation.h"
#include "tests/sync/data/SyncTestEngines.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

using odbctest::Engine;

namespace backsynctest {

QJsonObject Ack(int32_t source, int32_t index, int code, const QString& text) {
  return {{QStringLiteral("profile"), kProfile}, {QStringLiteral("source"), source}, {QStringLiteral("index"), index},
          {QStringLiteral("code"), code},        {QStringLiteral("text"), text}};
}

QStringList Texts(std::initializer_list<const char*> texts) {
  QStringList list;
  for (const char* text : texts) list.append(QString::fromUtf8(text));
  return list;
}

QList<CdbEntry> Snapshot() {
  CCdbFile file;
  file.SetCdbFileName(kProfile);
  QList<CdbEntry> entries;
  file.LoadCdbRecords(&entries);
  return entries;
}

const CdbEntry* SnapshotEntry(const QList<CdbEntry>& entries, int32_t source, int32_t index) {
  for (const CdbEntry& entry : entries) {
    if (entry.recordSource == source && entry.recordIndex == index) return &entry;
  }
  return nullptr;
}

void BackSyncFixture::SetUp() {
  ASSERT_TRUE(service_.Started()) << qPrintable(service_.Error());
  SetSyncStatusCopy(1);
  const QString installation = synctest::PrepareInstallation();
  const QString settings = testsupport::InstallSettingsDatabase(installation);
  ASSERT_TRUE(QDir().mkpath(installation + QStringLiteral("Desktop Files/DB/CDB Files")));
  Register(QStringLiteral("user01"));
  QString error;
  ASSERT_EQ(settings_.ConnectDataSource(QStringLiteral("UserProfileDSN_4_TarnwickPLite_AD"), 1, settings, QString(),
                                        QStringLiteral("pondGarue58"), &error, false),
            1)
      << qPrintable(error);
}

void BackSyncFixture::TearDown() { BackSyncDigestMap::Instance().Clear(); }

void BackSyncFixture::Register(const QString& deviceId, int32_t turnMinutes) {
  SyncInfo sync;
  sync.changeDetectionMinutes = sync.backSyncMinutes = turnMinutes;
  sync.webServiceUrl = service_.Url().toUtf8();
  DeskInfo desk;
  desk.desktopName = "desk-01";
  desk.deviceId = deviceId.toUtf8();
  synctest::StoreSealedRecord(QStringLiteral("SyncInfo"), sync.ToBytes());
  synctest::StoreSealedRecord(QStringLiteral("DeskInfo"), desk.ToBytes());
  ASSERT_TRUE(testsupport::StoreSealedValue(registrynames::kSettingsKey, QStringLiteral("ConnSettings"),
                                            ConnSettings().ToBytes()));
  LoadSyncSettings();
}

void BackSyncFixture::RunOn(syncservice::CDatabseConnection& connection, const QString& sql) {
  ASSERT_TRUE(SQL_SUCCEEDED(connection.ExecuteStatement(sql))) << qPrintable(sql + u' ' + connection.GetLastError());
}

void BackSyncFixture::StoreProfile(const ProfileRecord& profile) {
  const auto text = [](QString value) { return u'\'' + value.replace(u'\'', QStringLiteral("''")) + u'\''; };
  RunOn(settings_, QStringLiteral("Insert Into ProfileInfo Values (%1, 'Items', %2, '', 'Device', %3, 0, 0, '', '')")
                       .arg(profile.ProfileID)
                       .arg(QStringList{text(profile.DBType), text(profile.DB_DSN), text(profile.UserName),
                                        text(profile.Password), text(profile.Query), text(profile.Path),
                                        text(profile.UserList)}
                                .join(u','),
                            text(profile.tempPath)));
}

void BackSyncFixture::SeedInStep(const QList<int16_t>& kinds, const QList<QByteArray>& records,
                                 const QList<std::array<uint8_t, kRowDigestSize>>& digests) {
  QList<CdbEntry> entries;
  QList<testsupport::WebServiceDouble::SeededRecord> seeded;
  for (qsizetype i = 0; i < records.size(); ++i) {
    CdbEntry entry;
    entry.recordSource = 1;
    entry.recordIndex = static_cast<int32_t>(i + 1);
    entry.digest = digests.at(i);
    entries.append(entry);
    seeded.append({1, entry.recordIndex, records.at(i)});
  }
  CCdbFile file;
  file.SetCdbFileName(kProfile);
  ASSERT_TRUE(file.WriteCdbRecords(entries));
  service_.SeedProfile(kProfile, kinds, seeded);
}

QStringList BackSyncFixture::DeviceRecords() {
  const QJsonObject profile =
      service_.Device()[QStringLiteral("profiles")].toObject()[QString::number(kProfile)].toObject();
  QStringList records;
  for (const QJsonValue& value : profile[QStringLiteral("records")].toArray()) {
    const QJsonObject record = value.toObject();
    QStringList values;
    for (const QJsonValue& field : record[QStringLiteral("values")].toArray()) values << field.toVariant().toString();
    records << QStringLiteral("%1#%2=%3")
                   .arg(record[QStringLiteral("source")].toInt())
                   .arg(record[QStringLiteral("index")].toInt())
                   .arg(values.join(u':'));
  }
  return records;
}

QStringList BackSyncFixture::PendingAcks() {
  syncservice::CDatabaseHandler handler;
  EXPECT_EQ(handler.ExecuteQuery(settings_, QStringLiteral("Select ProfileID, RecordSource, RecordIndex, DeviceID, "
                                                           "ResultCode, ResultText From AckFromDesktopTable")),
            1);
  QStringList rows;
  for (int32_t row = 0; row < handler.GetRowCount(); ++row) {
    handler.MoveToRow(row);
    QStringList fields;
    for (int16_t column = 0; column < 6; ++column) fields << handler.GetFieldValue(row, column);
    rows << fields.join(u'/');
  }
  return rows;
}

QList<testsupport::LogEntry> BackSyncFixture::BackSyncLog() const {
  return testsupport::ReadLogEntries(synctest::TodaysLogFolder() + QStringLiteral("/SyncServiceBackSyncLog.log"));
}

int BackSyncFixture::LogLines(const QString& part) const {
  return static_cast<int>(testsupport::EntriesContaining(BackSyncLog(), part).size());
}

const QList<int16_t> TableBackSync::kKinds = {4, 1, 4};

void TableBackSync::SetUpTable(Engine engine) {
  engine_ = engine;
  SYNC_CONNECT_OR_SKIP(engine, &data_);
  data_.ExecuteStatement(QStringLiteral("DROP TABLE %1").arg(TableName()));
  const QString key = engine == Engine::PostgreSql ? QStringLiteral("id SERIAL PRIMARY KEY")
                      : engine == Engine::MariaDb  ? QStringLiteral("id INTEGER AUTO_INCREMENT PRIMARY KEY")
                                                   : QStringLiteral("id INTEGER PRIMARY KEY AUTOINCREMENT");
  RunOn(data_, QStringLiteral("CREATE TABLE %1 (%2, name VARCHAR(50), qty INTEGER)").arg(TableName(), key));
  created_ = true;
  for (const char* values : {"'a', 1", "'b', 2", "'c', 3"}) {
    RunOn(data_, QStringLiteral("INSERT INTO %1 (name, qty) VALUES (%2)").arg(TableName(), QLatin1String(values)));
  }
}

void TableBackSync::TearDown() {
  if (created_) data_.ExecuteStatement(QStringLiteral("DROP TABLE %1").arg(TableName()));
  BackSyncFixture::TearDown();
}

// One table per test process, so that parallel tests on one server never meet.
QString TableBackSync::TableName() const {
  return QStringLiteral("bs_items_%1").arg(QCoreApplication::applicationPid());
}

QString TableBackSync::TableQuery() const {
  return QStringLiteral("Select id, name, qty From %1 Order By id").arg(TableName());
}

ProfileRecord TableBackSync::Profile(const QString& query, const QString& userList) const {
  ProfileRecord profile;
  profile.ProfileID = kProfile;
  profile.Query = query;
  profile.UserList = userList;
  if (engine_ == Engine::Sqlite) {
    const QFileInfo file(synctest::SqliteTestFile());
    profile.DBType = QStringLiteral("1");
    profile.Path = profile.tempPath = file.absolutePath() + u'/';
    profile.DB_DSN = file.fileName();
  } else {
    profile.DBType = QStringLiteral("0");
    profile.DB_DSN = odbctest::ServerDataSourceName(engine_);
    profile.UserName = odbctest::ServerUser(engine_);
    profile.Password = odbctest::ServerPassword(engine_);
  }
  return profile;
}

void TableBackSync::AddProfileInStep(const ProfileRecord& profile) {
  StoreProfile(profile);
  syncservice::ProfileDataReader reader;
  reader.Profile() = profile;
  QString error;
  ASSERT_EQ(reader.OpenProfileSource(&error), 1) << qPrintable(error);
  ASSERT_EQ(reader.ExecuteProfileQuery(&error), 1) << qPrintable(error);
  QList<QByteArray> records;
  QList<std::array<uint8_t, kRowDigestSize>> digests;
  for (int32_t row = 0; row < reader.GetRecordCount(); ++row) {
    QByteArray record;
    std::array<uint8_t, kRowDigestSize> digest{};
    ASSERT_GT(reader.FetchRecord(row, &record, digest.data()), 0);
    records.append(record);
    digests.append(digest);
  }
  SeedInStep(kKinds, records, digests);
}

QStringList TableBackSync::Rows() {
  syncservice::CDatabaseHandler handler;
  EXPECT_EQ(handler.ExecuteQuery(data_, TableQuery()), 1);
  QStringList rows;
  for (int32_t row = 0; row < handler.GetRowCount(); ++row) {
    handler.MoveToRow(row);
    rows << QStringList{handler.GetFieldValue(row, 0), handler.GetFieldValue(row, 1), handler.GetFieldValue(row, 2)}
                .join(u':');
  }
  return rows;
}

std::array<uint8_t, kRowDigestSize> TableBackSync::DesktopDigest(int32_t row) {
  QByteArray record;
  return DesktopRow(row, &record);
}

std::array<uint8_t, kRowDigestSize> TableBackSync::DesktopRow(int32_t row, QByteArray* record) {
  syncservice::ProfileDataReader reader;
  reader.Profile() = Profile(TableQuery());
  QString error;
  std::array<uint8_t, kRowDigestSize> digest{};
  EXPECT_EQ(reader.OpenProfileSource(&error), 1) << qPrintable(error);
  EXPECT_EQ(reader.ExecuteProfileQuery(&error), 1) << qPrintable(error);
  for (int32_t at = 0; at <= row; ++at) EXPECT_GT(reader.FetchRecord(at, record, digest.data()), 0);
  return digest;
}

QJsonArray TableBackSync::Values(int id, const char* name, int qty) { return {id, QString::fromLatin1(name), qty}; }

}  // namespace backsynctest
