#include "platform/registry/Registry.h"
#include "setup/installer/InstallFileManager.h"
#include "shared/RegistryRecords.h"
#include "shared/contract/InstallLayout.h"
#include "shared/contract/RegistryNames.h"
#include "sync/data/ProfileDataReader.h"
#include "sync/data/ProfileInfoDB.h"
#include "sync/engine/CdbFile.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/SettingsStore.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cstring>

using namespace installlayout;

namespace {

QString Payload(const QString& name) { return testsupport::BinaryDir() + QStringLiteral("/payload/") + name; }

QStringList Query(const QString& database, const QString& sql) {
  QProcess sqlite;
  sqlite.start(QStringLiteral("sqlite3"), {QStringLiteral("-readonly"), database, sql});
  sqlite.waitForFinished();
  return QString::fromUtf8(sqlite.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

QList<CdbEntry> Snapshot(const QString& name) {
  QFile file(Payload(name));
  QList<CdbEntry> entries;
  if (!file.open(QIODevice::ReadOnly)) return entries;
  const QByteArray bytes = file.readAll();
  for (qsizetype at = 0; at + CdbEntry::kSize <= bytes.size(); at += CdbEntry::kSize) {
    CdbEntry entry;
    std::memcpy(&entry.recordSource, bytes.constData() + at, 4);
    std::memcpy(&entry.recordIndex, bytes.constData() + at + 4, 4);
    std::memcpy(entry.digest.data(), bytes.constData() + at + 8, entry.digest.size());
    entries.append(entry);
  }
  EXPECT_EQ(bytes.size() % CdbEntry::kSize, 0) << name.toStdString();
  return entries;
}

TEST(Payload, HoldsEveryFileTheWizardsDeviceTypesCopy) {
  for (const uint16_t type : {kIPhone, kIPad}) {
    QList<CopyTable> tables = DeviceTables(type);
    tables += {ProgramTable(), DatabaseTable(type), SnapshotTable()};
    for (const CopyTable& table : tables) {
      for (const CopyEntry& entry : table.files)
        EXPECT_TRUE(QFileInfo(Payload(entry.source)).size() > 0) << entry.source.toStdString();
    }
  }
  for (const QString& program : DesktopPrograms())
    EXPECT_TRUE(QFileInfo(Payload(program)).isExecutable()) << program.toStdString();
  for (const QString& guide : {QStringLiteral("ReadmeIPHONE.pdf"), QStringLiteral("TarnwickPlusUserGuideIPAD.pdf")}) {
    QFile pdf(Payload(guide));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-") << guide.toStdString();
  }
}

TEST(Payload, SettingsDatabasesHoldTheSampleProfilesFormAndStatusRows) {
  for (const QString& name :
       {QStringLiteral("UserProfileDB.mdb"), QStringLiteral("UserProfileDBIPHONE.mdb"), QStringLiteral("UserProfileDBIPAD.mdb")}) {
    SCOPED_TRACE(name.toStdString());
    const QString database = Payload(name);
    EXPECT_EQ(Query(database, QStringLiteral("SELECT ProfileID, DBInfo, DBType, DB_DSN FROM ProfileInfo ORDER BY 1")),
              (QStringList{QStringLiteral("1|SampleProfile_Artist|1|SampleDB.mdb"),
                           QStringLiteral("2|SampleProfile_Inventory|1|SampleDB.mdb")}));
    EXPECT_EQ(Query(database, QStringLiteral("SELECT FormID, ProfileID FROM FormInfo")),
              QStringList{QStringLiteral("1|1")});
    EXPECT_EQ(Query(database, QStringLiteral("SELECT ProfileID || ':' || StatusFlag || ':' || UserID FROM "
                                             "UserProfileStatus ORDER BY 1")),
              (QStringList{QStringLiteral("1::"), QStringLiteral("2::")}));
    EXPECT_EQ(Query(database, QStringLiteral("SELECT FormID || ':' || StatusFlag FROM UserFormStatus")),
              QStringList{QStringLiteral("1:")});
    for (const QString& query : Query(database, QStringLiteral("SELECT Query FROM ProfileInfo"))) {
      EXPECT_EQ(Query(Payload(QStringLiteral("SampleDB.mdb")), QStringLiteral("SELECT count(*) FROM (%1)").arg(query)),
                QStringList{QStringLiteral("24")})
          << query.toStdString();
    }
  }
}

// The snapshots hold records 1..24 of source 1, so the record index of the next row is 25; the
// Artist rows (integers and texts only) are digested here independently of the sync program.
TEST(Payload, SnapshotsAgreeWithTheSampleRows) {
  const QStringList artists =
      Query(Payload(QStringLiteral("SampleDB.mdb")), QStringLiteral("SELECT ArtistID, Name, Country, BornYear FROM Artist"));
  ASSERT_EQ(artists.size(), 24);
  for (const QString& name : {QStringLiteral("cdb_1.bin"), QStringLiteral("cdb_2.bin")}) {
    const QList<CdbEntry> entries = Snapshot(name);
    ASSERT_EQ(entries.size(), 24) << name.toStdString();
    for (int i = 0; i < entries.size(); ++i) {
      EXPECT_EQ(entries[i].recordSource, 1);
      EXPECT_EQ(entries[i].recordIndex, i + 1);
      if (name != QStringLiteral("cdb_1.bin")) continue;
      const QString text = QString(artists[i]).replace(u'|', u'#');
      const QByteArray utf16(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
      const QByteArray expected = QCryptographicHash::hash(utf16, QCryptographicHash::Sha512);
      EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(entries[i].digest.data()), 64), expected) << i;
    }
  }
}

// The payload installed by the file worker for an iPhone: the sync program's reader finds the
// fixed-up profiles over the installed sample database, and every row's digest is the one its
// installed snapshot holds, so the first turn has nothing to send.
TEST(Payload, InstalledSnapshotsAreInStepWithTheInstalledRows) {
  InstallFileState state;
  state.payloadFolder = testsupport::BinaryDir() + QStringLiteral("/payload");
  state.installFolder = testsupport::CurrentMachineRoot() + QStringLiteral("/Tarnwick Plus Lite/");
  state.deviceType = kIPhone;
  state.createFolder = true;
  state.deviceId = QStringLiteral("udid42");
  ASSERT_EQ(GetInstallFileManager()->CreateDirStructure(state), 0);
  ASSERT_EQ(GetInstallFileManager()->CopyFiles(state), 0);
  ASSERT_TRUE(testsupport::StoreValue(registrynames::kSettingsKey, QStringLiteral("InstallationPath"),
                                      platform::RegistryValue::FromString(state.installFolder)));

  CProfileInfoDB profiles;
  QString error;
  ASSERT_EQ(profiles.InitializeTable(QString(), &error), 1) << error.toStdString();
  ASSERT_EQ(profiles.GetRecordCount(), 2);
  for (int32_t p = 0; p < 2; ++p) {
    const ProfileRecord profile = profiles.ReadRecord(p);
    SCOPED_TRACE(profile.ProfileID);
    EXPECT_EQ(profile.UserList, QStringLiteral("udid42,"));
    CCdbFile snapshot;
    snapshot.SetCdbFileName(profile.ProfileID);
    QList<CdbEntry> entries;
    ASSERT_EQ(snapshot.LoadCdbRecords(&entries), 24);
    syncservice::ProfileDataReader reader;
    reader.Profile() = profile;
    ASSERT_EQ(reader.OpenProfileSource(&error), 1) << error.toStdString();
    ASSERT_EQ(reader.ExecuteProfileQuery(&error), 1) << error.toStdString();
    ASSERT_EQ(reader.GetRecordCount(), 24);
    reader.BindColumns();
    for (int32_t row = 0; row < 24; ++row) {
      QByteArray record;
      std::array<uint8_t, kRowDigestSize> digest{};
      ASSERT_GT(reader.FetchRecord(row, &record, digest.data()), 0);
      EXPECT_EQ(digest, entries[row].digest) << row;
    }
    reader.UnbindColumns();
  }
}

}  // namespace
