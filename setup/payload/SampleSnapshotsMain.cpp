// Build-time tool: the snapshots "cdb_<ProfileID>.bin" of the sample profiles of a shipped
// settings database, as the sync program would write them once the devices hold every sample row:
//   TarnwickSampleSnapshots <settings database> <SampleDB.mdb> <output folder>
// It installs both databases into a private machine root, points the profiles there as the
// installer's fix-up does, and reads each profile's rows with the sync program's own reader.
#include "platform/registry/Registry.h"
#include "setup/installer/InstallFileManager.h"
#include "shared/contract/InstallLayout.h"
#include "shared/contract/RegistryNames.h"
#include "sync/data/ProfileDataReader.h"
#include "sync/data/ProfileInfoDB.h"
#include "sync/engine/CdbFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Every row of a fresh profile is a record of source 1, numbered from 1 in query order.
constexpr int32_t kRecordSource = 1;

void Fail(const QString& text) { std::fprintf(stderr, "%s\n", qPrintable(text)); }

bool Install(const QString& settingsDatabase, const QString& sampleDatabase, const QString& installation) {
  const QString dbFolder = installation + installlayout::kDbFolder;
  if (!QDir().mkpath(dbFolder) || !QDir().mkpath(installation + installlayout::kLogsFolder)) return false;
  if (!QFile::copy(settingsDatabase, dbFolder + installlayout::kSettingsDatabase) ||
      !QFile::copy(sampleDatabase, dbFolder + installlayout::kSampleDatabase)) {
    return false;
  }
  using namespace platform;
  RegistryKeyGuard key;
  return RegCreateKeyEx(HKEY_LOCAL_MACHINE, registrynames::kSettingsKey, KEY_ALL_ACCESS, key.out()) == ERROR_SUCCESS &&
         RegSetValueEx(key.get(), registrynames::kInstallationPath, RegistryValue::FromString(installation)) ==
             ERROR_SUCCESS &&
         GetInstallFileManager()->UpdateSettingsDatabase(installation, QStringLiteral("sample")) == 1;
}

bool Snapshot(const ProfileRecord& profile, const QString& outputFolder) {
  syncservice::ProfileDataReader reader;
  reader.Profile() = profile;
  QString error;
  if (reader.OpenProfileSource(&error) != 1 || reader.ExecuteProfileQuery(&error) != 1) {
    Fail(error);
    return false;
  }
  QList<CdbEntry> entries;
  reader.BindColumns();
  for (int32_t row = 0; row < reader.GetRecordCount(); ++row) {
    CdbEntry entry;
    QByteArray record;
    if (reader.FetchRecord(row, &record, entry.digest.data()) == 0) {
      Fail(QStringLiteral("Row %1 of profile %2 could not be read.").arg(row).arg(profile.ProfileID));
      return false;
    }
    entry.recordSource = kRecordSource;
    entry.recordIndex = row + 1;
    entries.append(entry);
  }
  reader.UnbindColumns();
  reader.CloseProfileSource(false);
  QFile file(outputFolder + QStringLiteral("/cdb_%1.bin").arg(profile.ProfileID));
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(CCdbFile::Bytes(entries)) >= 0;
}

}  // namespace

int main(int argc, char** argv) {
  const QTemporaryDir root;
  qputenv("TARNWICK_MACHINE_ROOT", QFile::encodeName(root.path()));
  const QCoreApplication application(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() != 4 || !root.isValid()) {
    Fail(QStringLiteral("usage: TarnwickSampleSnapshots <settings database> <SampleDB.mdb> <output folder>"));
    return 2;
  }
  const QString installation = root.path() + QStringLiteral("/Tarnwick Plus/");
  if (!Install(args.at(1), args.at(2), installation)) {
    Fail(QStringLiteral("The sample databases could not be installed into %1.").arg(installation));
    return 1;
  }
  CProfileInfoDB profiles;
  QString error;
  if (profiles.InitializeTable(QString(), &error) != 1) {
    Fail(error);
    return 1;
  }
  for (int32_t p = 0; p < profiles.GetRecordCount(); ++p) {
    if (!Snapshot(profiles.ReadRecord(p), args.at(3))) return 1;
  }
  return 0;
}
