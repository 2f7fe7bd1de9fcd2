#include "tests/sync/engine/InStepProfile.h"

#include "shared/RegistryRecords.h"
#include "shared/WorkbookFolder.h"
#include "shared/contract/RegistryNames.h"
#include "shared/data/SourceKinds.h"
#include "sync/data/DBHandlerForUserDB.h"
#include "sync/data/DatabaseHandler.h"
#include "sync/data/ProfileDataReader.h"
#include "sync/data/SyncSettings.h"
#include "sync/engine/ExcelProfileConnection.h"
#include "sync/engine/StatusChangeCheck.h"
#include "tests/support/AdminInstallation.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/SettingsStore.h"
#include "tests/support/SyncInstallation.h"
#include "tests/support/XlsxFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

#include <sqlext.h>

#include <algorithm>

using odbctest::Engine;

namespace synctest {
namespace {

const QString kSourceName = QStringLiteral("ChangeDetectionTestSource");

QString SourceFile() { return testsupport::CurrentMachineRoot() + QStringLiteral("/profile-source.mdb"); }

QString CreateSql(Engine engine, const QString& table) {
  const QString ratio = engine == Engine::Sqlite ? QStringLiteral("REAL") : QStringLiteral("DOUBLE PRECISION");
  return QStringLiteral("CREATE TABLE %1 (id INTEGER PRIMARY KEY, name VARCHAR(20000), note VARCHAR(20000), qty INTEGER, "
                        "amount DECIMAL(12,2), day DATE, ratio %2)")
      .arg(table, ratio);
}

void ConfigureWebService(const QString& url) {
  SyncInfo sync;
  sync.webServiceUrl = url.toUtf8();
  sync.changeDetectionMinutes = 0;
  sync.backSyncMinutes = 60;
  DeskInfo desk;
  desk.desktopName = "Front desk";
  desk.deviceId = "device-1";
  StoreSealedRecord(QStringLiteral("SyncInfo"), sync.ToBytes());
  StoreSealedRecord(QStringLiteral("DeskInfo"), desk.ToBytes());
  testsupport::StoreSealedValue(registrynames::kSettingsKey, QStringLiteral("ConnSettings"), ConnSettings().ToBytes());
  LoadSyncSettings();
}

QStringList Sorted(QStringList list) {
  std::sort(list.begin(), list.end());
  return list;
}

}  // namespace

void InStepProfile::Prepare(testsupport::WebServiceDouble* service) {
  m_pService = service;
  m_strTable = QStringLiteral("cd_items_%1").arg(QCoreApplication::applicationPid());
  const QString installation = PrepareInstallation();
  m_strSettingsFile = testsupport::InstallSettingsDatabase(installation);
  QDir().mkpath(installation + QStringLiteral("Desktop Files/DB/CDB Files"));
  ConfigureWebService(service->Url());
  m_profile.ProfileID = kProfileId;
  m_profile.DBInfo = QStringLiteral("Items");
}

bool InStepProfile::Create(Engine engine, testsupport::WebServiceDouble* service, int rows, QString* unavailable) {
  m_engine = engine;
  Prepare(service);
  QString error;
  m_profile.DBType = QStringLiteral("1");
  m_profile.DB_DSN = QFileInfo(SourceFile()).fileName();
  m_profile.Path = QFileInfo(SourceFile()).absolutePath() + u'/';
  m_profile.Query = QStringLiteral("Select * From %1 Order By id").arg(m_strTable);
  if (engine == Engine::Sqlite) {
    QFile file(SourceFile());
    file.open(QIODevice::WriteOnly);
    file.close();
    if (m_source.ConnectDataSource(kSourceName, 1, SourceFile(), QString(), QString(), &error, false) != 1) {
      *unavailable = error;
      return false;
    }
  } else {
    odbctest::ServerLogin login;
    if (!odbctest::RegisterServerDataSource(engine, &login, unavailable)) return false;
    if (m_source.ConnectDataSource(QString(), sourcekind::kNamedDataSource, login.dataSourceName, login.user,
                                   login.password, &error, false) != 1) {
      *unavailable = error;
      return false;
    }
    m_profile.DBType = QStringLiteral("0");
    m_profile.DB_DSN = login.dataSourceName;
    m_profile.UserName = login.user;
    m_profile.Password = login.password;
    m_profile.Path.clear();
  }
  m_profile.tempPath = m_profile.Path;
  m_source.ExecuteStatement(QStringLiteral("DROP TABLE %1").arg(m_strTable));
  if (const QString failure = Run(CreateSql(engine, m_strTable)); !failure.isEmpty()) {
    *unavailable = failure;
    return false;
  }
  m_bCreated = true;
  for (int n = 0; n < rows; ++n) Run(InsertSql(n));
  return Install(unavailable);
}

bool InStepProfile::CreateWorkbook(Workbook kind, testsupport::WebServiceDouble* service, int rows,
                                   QString* unavailable) {
  m_bWorkbook = true;
  Prepare(service);
  m_profile.DB_DSN = QStringLiteral("items.xlsx");
  m_profile.Path = testsupport::CurrentMachineRoot() + QStringLiteral("/books/");
  QDir().mkpath(m_profile.Path);
  if (kind == Workbook::Model) {
    m_profile.DBType = QStringLiteral("7");
    m_profile.Query = QStringLiteral("Items");
    m_profile.tempPath = m_profile.Path;
  } else {
    m_profile.DBType = QStringLiteral("4");
    m_profile.Query = QStringLiteral("Select * From \"Items.txt\"");
    m_profile.tempPath = WorkbookTempFolder() + u'/';
  }
  if (!WriteWorkbook(rows)) {
    *unavailable = QStringLiteral("the workbook was not written");
    return false;
  }
  return Install(unavailable);
}

bool InStepProfile::Install(QString* unavailable) {
  QString error;
  if (m_settings.ConnectDataSource(QStringLiteral("UserProfileDSN_4_TarnwickPLite_AD"), 1, m_strSettingsFile, QString(),
                                   QStringLiteral("pondGarue58"), &error, false) != 1) {
    *unavailable = error;
    return false;
  }
  const QString profile =
      QStringLiteral("Insert Into ProfileInfo Values (%1, '%2', '%3', '%4', '%5', '%6', '%7', '%8', 'user01', 'id', "
                     "'Device', '%9', 0, 1, '', '')")
          .arg(m_profile.ProfileID)
          .arg(m_profile.DBInfo, m_profile.DBType, m_profile.DB_DSN, m_profile.UserName, m_profile.Password,
               QString(m_profile.Query).replace(u'\'', QStringLiteral("''")), m_profile.Path, m_profile.tempPath);
  for (const QString& sql : {profile, QStringLiteral("Insert Into UserProfileStatus Values ('user01', %1, '')").arg(kProfileId)}) {
    if (!SQL_SUCCEEDED(m_settings.ExecuteStatement(sql))) {
      *unavailable = m_settings.GetLastError();
      return false;
    }
  }
  Seed(DesktopRows());
  return true;
}

bool InStepProfile::WriteWorkbook(int rows, int renamed) const {
  testsupport::XlsxFixture fixture(m_profile.Path + m_profile.DB_DSN);
  lxw_worksheet* sheet = fixture.AddSheet("Items");
  worksheet_write_string(sheet, 0, 0, "Name", nullptr);
  worksheet_write_string(sheet, 0, 1, "Qty", nullptr);
  for (int n = 0; n < rows; ++n) {
    const QByteArray name = n == renamed ? QByteArray("renamed") : "name " + QByteArray::number(n);
    worksheet_write_string(sheet, static_cast<lxw_row_t>(n + 1), 0, name.constData(), nullptr);
    worksheet_write_number(sheet, static_cast<lxw_row_t>(n + 1), 1, n * 3, nullptr);
  }
  return fixture.Close();
}

InStepProfile::~InStepProfile() {
  if (m_bCreated && m_engine != Engine::Sqlite) m_source.ExecuteStatement(QStringLiteral("DROP TABLE %1").arg(m_strTable));
}

QString InStepProfile::Run(const QString& sql) {
  return SQL_SUCCEEDED(m_source.ExecuteStatement(sql)) ? QString() : m_source.GetLastError() + QStringLiteral(" in ") + sql;
}

QString InStepProfile::InsertSql(int n) const {
  return QStringLiteral("INSERT INTO %1 (id, name, note, qty, amount, day, ratio) VALUES (%2, 'name %2', 'note #%2', %3, "
                        "%4.25, '2026-03-%5', %6)")
      .arg(m_strTable)
      .arg(n + 1)
      .arg(n * 3)
      .arg(1000 + n)
      .arg(1 + n % 28, 2, 10, QLatin1Char('0'))
      .arg(0.5 + n);
}

QString InStepProfile::SetStatusFlag(const QString& flag) {
  const QString sql =
      QStringLiteral("Update UserProfileStatus Set StatusFlag = '%1' Where ProfileID = %2").arg(flag).arg(kProfileId);
  return SQL_SUCCEEDED(m_settings.ExecuteStatement(sql)) ? QString() : m_settings.GetLastError();
}

void InStepProfile::EmptyDevice() { m_pService->SeedProfile(kProfileId, Kinds(), {}); }

QList<DesktopRow> InStepProfile::WorkbookRows() {
  // As the pass reads it: a text-export profile's sheets exported again first.
  if (m_profile.Path != m_profile.tempPath) ConnectExcelProfile(m_profile.Path + m_profile.DB_DSN, m_profile.DB_DSN);
  syncservice::ProfileDataReader reader;
  reader.Profile() = m_profile;
  QString error;
  QList<DesktopRow> rows;
  if (!reader.OpenProfileSource(&error) || !reader.ExecuteProfileQuery(&error)) return rows;
  reader.BindColumns();
  for (int32_t row = 0; row < reader.GetRecordCount(); ++row) {
    DesktopRow desktop;
    if (reader.FetchRecord(row, &desktop.record, desktop.entry.digest.data()) > 0) rows.append(desktop);
  }
  reader.UnbindColumns();
  return rows;
}

QList<DesktopRow> InStepProfile::DesktopRows() {
  if (m_bWorkbook) return WorkbookRows();
  CDBHandlerForUserDB handler;
  QString error;
  QList<DesktopRow> rows;
  if (handler.Initialize(m_source, QStringLiteral("Select * From %1 Order By id").arg(m_strTable), &error) != 1)
    return rows;
  for (int32_t row = 0; row < handler.GetRowCount(); ++row) {
    DesktopRow desktop;
    if (handler.ReadRecord(row, &desktop.record, desktop.entry.digest.data()) > 0) rows.append(desktop);
  }
  return rows;
}

QList<int16_t> InStepProfile::Kinds() {
  if (m_bWorkbook) return {1, 1};  // workbook cells travel as texts
  CDBHandlerForUserDB handler;
  QString error;
  QList<int16_t> kinds;
  handler.Initialize(m_source, QStringLiteral("Select * From %1 Order By id").arg(m_strTable), &error);
  for (int16_t i = 0; i < handler.GetColumnCount(); ++i) {
    if (handler.GetColumnType(i) != 0) kinds.append(handler.GetColumnType(i));
  }
  return kinds;
}

void InStepProfile::Seed(const QList<DesktopRow>& rows) {
  QList<CdbEntry> snapshot;
  QList<testsupport::WebServiceDouble::SeededRecord> records;
  for (qsizetype i = 0; i < rows.size(); ++i) {
    CdbEntry entry = rows.at(i).entry;
    entry.recordSource = 1;
    entry.recordIndex = static_cast<int32_t>(i + 1);
    snapshot.append(entry);
    records.append({entry.recordSource, entry.recordIndex, rows.at(i).record});
  }
  CCdbFile file;
  file.SetCdbFileName(kProfileId);
  file.WriteCdbRecords(snapshot);
  m_pService->SeedProfile(kProfileId, Kinds(), records);
  testsupport::StoreValue(registrynames::kRecordIndexKey, QString::number(kProfileId),
                          platform::RegistryValue::FromDword(static_cast<uint32_t>(rows.size() + 1)));
}

QList<CdbEntry> InStepProfile::Snapshot() const {
  CCdbFile file;
  file.SetCdbFileName(kProfileId);
  QList<CdbEntry> entries;
  file.LoadCdbRecords(&entries);
  return entries;
}

bool InStepProfile::SnapshotExists() const {
  CCdbFile file;
  file.SetCdbFileName(kProfileId);
  return QFile::exists(file.Path());
}

void InStepProfile::RemoveSnapshot() const {
  CCdbFile file;
  file.SetCdbFileName(kProfileId);
  QFile::remove(file.Path());
}

int32_t InStepProfile::NextRecordIndex() const {
  const std::optional<platform::RegistryValue> value =
      testsupport::StoredValue(registrynames::kRecordIndexKey, QString::number(kProfileId));
  DWORD index = 0;
  return value && value->ToDword(&index) ? static_cast<int32_t>(index) : -1;
}

QStringList InStepProfile::DeviceRecords() {
  QStringList hex;
  const QJsonObject profile =
      m_pService->Device().value(QStringLiteral("profiles")).toObject().value(QString::number(kProfileId)).toObject();
  for (const QJsonValue& record : profile.value(QStringLiteral("records")).toArray())
    hex.append(record.toObject().value(QStringLiteral("hex")).toString());
  return Sorted(hex);
}

QStringList InStepProfile::DeviceKeys() {
  QStringList keys;
  const QJsonObject profile =
      m_pService->Device().value(QStringLiteral("profiles")).toObject().value(QString::number(kProfileId)).toObject();
  for (const QJsonValue& value : profile.value(QStringLiteral("records")).toArray()) {
    const QJsonObject record = value.toObject();
    keys.append(QStringLiteral("%1#%2").arg(record.value(QStringLiteral("source")).toInt()).arg(record.value(QStringLiteral("index")).toInt()));
  }
  return Sorted(keys);
}

QJsonArray InStepProfile::DeviceRecordObjects() {
  return m_pService->Device()
      .value(QStringLiteral("profiles"))
      .toObject()
      .value(QString::number(kProfileId))
      .toObject()
      .value(QStringLiteral("records"))
      .toArray();
}

QStringList InStepProfile::DeviceNames() {
  QStringList names;
  for (const QJsonValue& record : DeviceRecordObjects())
    names.append(record.toObject().value(QStringLiteral("values")).toArray().at(1).toString());
  return Sorted(names);
}

QStringList InStepProfile::DesktopNames() {
  syncservice::CDatabaseHandler handler;
  QStringList names;
  if (handler.ExecuteQuery(m_source, QStringLiteral("SELECT name FROM %1").arg(m_strTable)) != 1) return names;
  for (int32_t row = 0; row < handler.GetRowCount(); ++row) {
    handler.MoveToRow(row);
    names.append(handler.GetFieldValue(row, 0));
  }
  return Sorted(names);
}

QStringList InStepProfile::DesktopRecords() {
  QStringList hex;
  for (const DesktopRow& row : DesktopRows()) hex.append(QString::fromLatin1(row.record.toHex()));
  return Sorted(hex);
}

void RunChangeDetection() { CStatusChangeCheck().DetectDataChanges(); }

}  // namespace synctest
