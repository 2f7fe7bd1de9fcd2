// Profiles and forms reach the devices: status rows are set as the administration program sets
// them, the passes of a change-detection turn run in this process against the test double, and
// the double's device must end up holding what the desktop holds.
#include "platform/registry/Registry.h"
#include "shared/RegistryRecords.h"
#include "shared/contract/RegistryNames.h"
#include "sync/data/DatabaseHandler.h"
#include "sync/data/DatabseConnection.h"
#include "sync/data/SyncSettings.h"
#include "sync/engine/CdbFile.h"
#include "sync/engine/StatusChangeCheck.h"
#include "sync/engine/SyncStatus.h"
#include "tests/support/AdminInstallation.h"
#include "tests/support/Eventually.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/SettingsStore.h"
#include "tests/support/SyncInstallation.h"
#include "tests/support/WebServiceDouble.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>

#include <sqlext.h>

#include <thread>

namespace {

constexpr int32_t kProfile = 4;
constexpr int32_t kForm = 9;
constexpr qsizetype kStripLimit = 1024 * 1024;

uint16_t Type(const QByteArray& buffer, qsizetype at = 0) {
  return static_cast<uint16_t>(static_cast<uint8_t>(buffer.at(at)) | (static_cast<uint8_t>(buffer.at(at + 1)) << 8));
}

class ProfileDelivery : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(service_.Started()) << service_.Error().toStdString();
    SetSyncStatusCopy(1);
    const QString installation = synctest::PrepareInstallation();
    const QString settingsFile = testsupport::InstallSettingsDatabase(installation);
    QDir().mkpath(installation + QStringLiteral("Desktop Files/DB/CDB Files"));
    SyncInfo sync;
    sync.webServiceUrl = service_.Url().toUtf8();
    DeskInfo desk;
    desk.desktopName = "Front desk";
    desk.deviceId = "device-1";
    synctest::StoreSealedRecord(QStringLiteral("SyncInfo"), sync.ToBytes());
    synctest::StoreSealedRecord(QStringLiteral("DeskInfo"), desk.ToBytes());
    testsupport::StoreSealedValue(registrynames::kSettingsKey, QStringLiteral("ConnSettings"),
                                  ConnSettings().ToBytes());
    LoadSyncSettings();
    SetNextIndex(1);

    sourceFile_ = testsupport::CurrentMachineRoot() + QStringLiteral("/items.mdb");
    QFile(sourceFile_).open(QIODevice::WriteOnly);
    QString error;
    ASSERT_EQ(source_.ConnectDataSource(QStringLiteral("DeliveryTestSource"), 1, sourceFile_, QString(), QString(), &error,
                                        false),
              1)
        << qPrintable(error);
    Source(QStringLiteral("CREATE TABLE Items (id INTEGER PRIMARY KEY, name VARCHAR(60000), qty INTEGER)"));
    ASSERT_EQ(settings_.ConnectDataSource(QStringLiteral("UserProfileDSN_4_TarnwickPLite_AD"), 1, settingsFile, QString(),
                                          QStringLiteral("pondGarue58"), &error, false),
              1)
        << qPrintable(error);
    const QString folder = QFileInfo(sourceFile_).absolutePath() + u'/';
    Settings(QStringLiteral("Insert Into ProfileInfo Values (%1, 'Items', '1', 'items.mdb', '', '', "
                            "'Select * From Items Order By id', '%2', 'ann,bob', 'id', 'MainMemory', '%2', 0, 1, "
                            "'1#4#name#1#12#', '')")
                 .arg(kProfile)
                 .arg(folder));
  }

  void Source(const QString& sql) { ASSERT_TRUE(SQL_SUCCEEDED(source_.ExecuteStatement(sql))) << qPrintable(sql); }
  void Settings(const QString& sql) {
    ASSERT_TRUE(SQL_SUCCEEDED(settings_.ExecuteStatement(sql))) << qPrintable(settings_.GetLastError());
  }

  void AddRows(int count, int nameLength = 8) {
    for (int n = 0; n < count; ++n)
      Source(QStringLiteral("INSERT INTO Items VALUES (%1, '%2', %3)").arg(n + 1).arg(QString(nameLength, QChar(u'a' + n % 26))).arg(n));
  }

  void ProfileStatus(const QString& user, const QString& flag) {
    Settings(QStringLiteral("Insert Into UserProfileStatus Values ('%1', %2, '%3')").arg(user).arg(kProfile).arg(flag));
  }

  // "<user>/<flag>" of the status rows of a table, in user order.
  QString Flags(const QString& table, const QString& idColumn, int32_t id) {
    syncservice::CDatabaseHandler handler;
    EXPECT_EQ(handler.ExecuteQuery(settings_, QStringLiteral("Select UserID, StatusFlag From %1 Where %2 = %3 Order By UserID")
                                                  .arg(table, idColumn)
                                                  .arg(id)),
              1);
    QStringList rows;
    for (int32_t row = 0; row < handler.GetRowCount(); ++row) {
      handler.MoveToRow(row);
      rows << handler.GetFieldValue(row, 0) + u'/' + handler.GetFieldValue(row, 1);
    }
    return rows.join(u' ');
  }
  QString ProfileFlags() { return Flags(QStringLiteral("UserProfileStatus"), QStringLiteral("ProfileID"), kProfile); }
  QString FormFlags() { return Flags(QStringLiteral("UserFormStatus"), QStringLiteral("FormID"), kForm); }

  static void SetNextIndex(uint32_t value) {
    ASSERT_TRUE(testsupport::StoreValue(registrynames::kRecordIndexKey, QString::number(kProfile),
                                        platform::RegistryValue::FromDword(value)));
  }
  static uint32_t NextIndex() {
    DWORD value = 0;
    testsupport::StoredValue(registrynames::kRecordIndexKey, QString::number(kProfile))->ToDword(&value);
    return value;
  }

  static QList<CdbEntry> Snapshot(bool* exists) {
    CCdbFile file;
    file.SetCdbFileName(kProfile);
    *exists = QFile::exists(file.Path());
    QList<CdbEntry> entries;
    file.LoadCdbRecords(&entries);
    return entries;
  }

  // The passes of a change-detection turn that move status flags, in the turn's order.
  static void RunTurn() {
    const CStatusChangeCheck check;
    if (check.ProcessProfileStatusChanges()) {
      check.SendNewProfileData();
      check.ProcessFinishedProfiles();
    }
    check.ProcessFormStatusChanges();
    check.SendNewFormData();
    check.ProcessFinishedForms();
  }

  // The plain buffers the service took, in order.
  QList<QByteArray> Sent() {
    QList<QByteArray> buffers;
    for (const QJsonValue& record : service_.Received())
      buffers << QByteArray::fromBase64(record.toObject().value(QStringLiteral("plain")).toString().toLatin1());
    return buffers;
  }

  QJsonObject DeviceProfile() {
    return service_.Device().value(QStringLiteral("profiles")).toObject().value(QString::number(kProfile)).toObject();
  }

  // "source#index" of the device's records of the profile, in order.
  QStringList DeviceKeys() {
    QStringList keys;
    for (const QJsonValue& record : DeviceProfile().value(QStringLiteral("records")).toArray())
      keys << QStringLiteral("%1#%2").arg(record[QStringLiteral("source")].toInt()).arg(record[QStringLiteral("index")].toInt());
    return keys;
  }

  static QStringList Keys(int from, int count) {
    QStringList keys;
    for (int i = 0; i < count; ++i) keys << QStringLiteral("1#%1").arg(from + i);
    return keys;
  }

  testsupport::WebServiceDouble service_;
  QString sourceFile_;
  syncservice::CDatabseConnection source_;
  syncservice::CDatabseConnection settings_;
};

TEST_F(ProfileDelivery, ANewProfileGoesOutAsAddProfileStripsAndFinishForEveryUserAtOnce) {
  AddRows(3);
  for (const char* user : {"ann", "bob", "cid"}) ProfileStatus(QString::fromLatin1(user), QStringLiteral("A"));
  RunTurn();

  const QList<QByteArray> sent = Sent();
  ASSERT_EQ(sent.size(), 3);
  EXPECT_EQ(Type(sent[0]), 1);  // one Add Profile for the three users
  EXPECT_EQ(Type(sent[1]), 6);
  EXPECT_TRUE(sent[1].endsWith(QByteArray(4, '\0')));
  EXPECT_EQ(sent[2].toHex(), QByteArray("1000") + QByteArray("04000000"));
  EXPECT_TRUE(service_.DeviceErrors().isEmpty()) << service_.DeviceErrors().join(u'\n').toStdString();

  const QJsonObject profile = DeviceProfile();
  EXPECT_EQ(profile[QStringLiteral("state")].toString(), QStringLiteral("finished"));
  EXPECT_EQ(profile[QStringLiteral("header")][QStringLiteral("name")].toString(), QStringLiteral("Items"));
  EXPECT_EQ(profile[QStringLiteral("sort")][0][QStringLiteral("name")].toString(), QStringLiteral("name"));
  EXPECT_EQ(DeviceKeys(), Keys(1, 3));
  EXPECT_EQ(NextIndex(), 4u);
  EXPECT_EQ(ProfileFlags(), QStringLiteral("ann/ bob/ cid/"));
  bool exists = false;
  const QList<CdbEntry> snapshot = Snapshot(&exists);
  ASSERT_EQ(snapshot.size(), 3);
  EXPECT_EQ(snapshot[2].recordIndex, 3);
}

TEST_F(ProfileDelivery, AnEmptyProfileGivesOneTenByteStripAndAnEmptySnapshot) {
  ProfileStatus(QStringLiteral("ann"), QStringLiteral("A"));
  RunTurn();
  const QList<QByteArray> sent = Sent();
  ASSERT_EQ(sent.size(), 3);
  EXPECT_EQ(sent[1].toHex(), QByteArray("0600") + QByteArray("04000000") + QByteArray("00000000"));
  bool exists = false;
  EXPECT_TRUE(Snapshot(&exists).isEmpty());
  EXPECT_TRUE(exists);
  EXPECT_EQ(ProfileFlags(), QStringLiteral("ann/"));
}

TEST_F(ProfileDelivery, RowsPastTheLimitGoInSeveralStripsWithIndexesRunningOn) {
  AddRows(40, 30000);  // about 60 kB a row
  ProfileStatus(QStringLiteral("ann"), QStringLiteral("A"));
  RunTurn();
  QList<QByteArray> strips;
  for (const QByteArray& buffer : Sent())
    if (Type(buffer) == 6) strips << buffer;
  ASSERT_GE(strips.size(), 2);
  for (const QByteArray& strip : strips) {
    EXPECT_LE(strip.size(), kStripLimit);
    EXPECT_EQ(strip.endsWith(QByteArray(4, '\0')), &strip == &strips.last());
  }
  EXPECT_EQ(DeviceKeys(), Keys(1, 40));
  EXPECT_TRUE(service_.DeviceErrors().isEmpty()) << service_.DeviceErrors().join(u'\n').toStdString();
}

TEST_F(ProfileDelivery, ARefusedSecondStripStartsTheProfileAgainWithoutDuplicates) {
  AddRows(40, 30000);
  ProfileStatus(QStringLiteral("ann"), QStringLiteral("A"));
  // The Add Profile and the first strip are taken, the second strip is refused.
  service_.SetFault(QStringLiteral("SendData"), QStringLiteral("http500"), {{QStringLiteral("after"), 2}});
  RunTurn();
  EXPECT_EQ(ProfileFlags(), QStringLiteral("ann/A"));
  EXPECT_EQ(NextIndex(), 1u);
  bool exists = true;
  Snapshot(&exists);
  EXPECT_FALSE(exists);

  service_.SetFault(QStringLiteral("SendData"), QStringLiteral("none"));
  RunTurn();
  EXPECT_EQ(ProfileFlags(), QStringLiteral("ann/"));
  EXPECT_EQ(DeviceKeys(), Keys(1, 40));
  EXPECT_EQ(NextIndex(), 41u);
  EXPECT_TRUE(service_.DeviceErrors().isEmpty()) << service_.DeviceErrors().join(u'\n').toStdString();
}

TEST_F(ProfileDelivery, AStopAfterAnAcceptedStripStartsTheProfileAgainWithoutDuplicates) {
  AddRows(60, 30000);
  ProfileStatus(QStringLiteral("ann"), QStringLiteral("A"));
  // The stop comes once the device took the Add Profile and the first strip.
  std::thread stopper([this] {
    testsupport::Eventually([this] { return service_.Received().size() >= 2; }, std::chrono::seconds(60));
    SetSyncStatusCopy(0);
  });
  RunTurn();
  stopper.join();
  EXPECT_EQ(ProfileFlags(), QStringLiteral("ann/A"));
  EXPECT_EQ(NextIndex(), 1u);

  SetSyncStatusCopy(1);
  RunTurn();
  EXPECT_EQ(ProfileFlags(), QStringLiteral("ann/"));
  EXPECT_EQ(DeviceKeys(), Keys(1, 60));
  EXPECT_TRUE(service_.DeviceErrors().isEmpty()) << service_.DeviceErrors().join(u'\n').toStdString();
}

// The program was killed once the device took the first strips: the flag still says "AD", the
// counter stands one past the first index, the note of the delivery is on the disk.
TEST_F(ProfileDelivery, AKillDuringTheStripsStartsTheProfileAgainWithoutDuplicates) {
  AddRows(40, 30000);
  ProfileStatus(QStringLiteral("ann"), QStringLiteral("A"));
  service_.SetFault(QStringLiteral("SendData"), QStringLiteral("http500"), {{QStringLiteral("after"), 2}});
  RunTurn();  // the Add Profile and the first strip are taken
  ASSERT_FALSE(DeviceKeys().isEmpty());
  const QStringList held = DeviceKeys();
  service_.SetFault(QStringLiteral("SendData"), QStringLiteral("none"));
  Settings(QStringLiteral("Update UserProfileStatus Set StatusFlag = 'AD' Where ProfileID = %1").arg(kProfile));
  SetNextIndex(2);
  CCdbFile file;
  file.SetCdbFileName(kProfile);
  ASSERT_TRUE(file.NoteDeliveryStarted());
  ASSERT_EQ(DeviceKeys(), held);

  RunTurn();  // the cut delivery is seen: the profile starts again from its Add Profile
  RunTurn();
  EXPECT_EQ(ProfileFlags(), QStringLiteral("ann/"));
  EXPECT_EQ(DeviceKeys(), Keys(1, 40));
  EXPECT_FALSE(file.DeliveryWasCutShort());
  EXPECT_TRUE(service_.DeviceErrors().isEmpty()) << service_.DeviceErrors().join(u'\n').toStdString();
}

TEST_F(ProfileDelivery, ADeleteGoesBeforeAnAddInOneBufferAndTakesTheStatusRowsAndSnapshot) {
  AddRows(2);
  service_.SeedProfile(kProfile, {4, 1, 4}, {});
  CCdbFile snapshot;
  snapshot.SetCdbFileName(kProfile);
  ASSERT_TRUE(snapshot.WriteCdbRecords({CdbEntry{}}));
  ProfileStatus(QStringLiteral("ann"), QStringLiteral("D"));
  ProfileStatus(QStringLiteral("bob"), QStringLiteral("A"));
  const CStatusChangeCheck check;
  ASSERT_TRUE(check.ProcessProfileStatusChanges());

  const QList<QByteArray> sent = Sent();
  ASSERT_EQ(sent.size(), 1);
  EXPECT_EQ(Type(sent[0]), 2);
  EXPECT_EQ(Type(sent[0], 6), 1);
  EXPECT_EQ(ProfileFlags(), QStringLiteral("bob/AD"));
  EXPECT_FALSE(QFile::exists(snapshot.Path()));
  EXPECT_TRUE(service_.DeviceErrors().isEmpty()) << service_.DeviceErrors().join(u'\n').toStdString();
}

// The administrator edits the profile (old rows "D", the row replaced, new "A" rows, the index back
// at 1) at each point of its delivery: the device ends up holding the edited rows and nothing else.
TEST_F(ProfileDelivery, AnEditedProfileReachesTheDeviceWhereverItsDeliveryStood) {
  struct Case {
    const char* name;
    void (*deliverBefore)(const CStatusChangeCheck&);
  };
  const Case cases[] = {
      {"never sent", [](const CStatusChangeCheck&) {}},
      {"definition sent", [](const CStatusChangeCheck& check) { check.ProcessProfileStatusChanges(); }},
      {"rows sent",
       [](const CStatusChangeCheck& check) {
         check.ProcessProfileStatusChanges();
         check.SendNewProfileData();
       }},
      {"in step",
       [](const CStatusChangeCheck& check) {
         check.ProcessProfileStatusChanges();
         check.SendNewProfileData();
         check.ProcessFinishedProfiles();
       }},
  };
  AddRows(3);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(service_.Command({{QStringLiteral("cmd"), QStringLiteral("reset")}}).value(QStringLiteral("ok")).toBool(),
              true);
    settings_.ExecuteStatement(QStringLiteral("Delete From UserProfileStatus"));  // no rows at first
    Settings(QStringLiteral("Update ProfileInfo Set Query = 'Select * From Items Order By id'"));
    SetNextIndex(1);
    ProfileStatus(QStringLiteral("ann"), QStringLiteral("A"));
    c.deliverBefore(CStatusChangeCheck());

    Settings(QStringLiteral("Update UserProfileStatus Set StatusFlag = 'D' where ProfileID = %1").arg(kProfile));
    Settings(QStringLiteral("Update ProfileInfo Set Query = 'Select * From Items Where id > 1 Order By id'"));
    ProfileStatus(QStringLiteral("ann"), QStringLiteral("A"));
    SetNextIndex(1);
    RunTurn();

    EXPECT_TRUE(service_.DeviceErrors().isEmpty()) << service_.DeviceErrors().join(u'\n').toStdString();
    EXPECT_EQ(DeviceProfile()[QStringLiteral("state")].toString(), QStringLiteral("finished"));
    EXPECT_EQ(DeviceKeys(), Keys(1, 2));
    EXPECT_EQ(ProfileFlags(), QStringLiteral("ann/"));
    EXPECT_EQ(NextIndex(), 3u);
    bool exists = false;
    EXPECT_EQ(Snapshot(&exists).size(), 2);
    EXPECT_TRUE(exists);
  }
}

TEST_F(ProfileDelivery, AnUnbuildableUpdateKeepsItsFlag) {
  Settings(QStringLiteral("Update ProfileInfo Set DB_DSN = 'missing/none.mdb'"));
  ProfileStatus(QStringLiteral("ann"), QStringLiteral("U"));
  RunTurn();
  EXPECT_TRUE(Sent().isEmpty());
  EXPECT_EQ(ProfileFlags(), QStringLiteral("ann/U"));
}

class FormDelivery : public ProfileDelivery {
 protected:
  void AddForm(int tabs, int labelsPerTab = 1, int captionLength = 2) {
    Settings(QStringLiteral("Insert Into FormInfo Values (%1, %2, 'Main', '<NumOfGrp>0</NumOfGrp><Height>320</Height>"
                            "<Width>240</Width><FontSize>10</FontSize><R>1</R><G>2</G><B>3</B>"
                            "<NumOfFldDefVal>0</NumOfFldDefVal>')")
                 .arg(kForm)
                 .arg(kProfile));
    const QString label = QStringLiteral("<ControlInfo><X>1</X><Y>2</Y><Width>30</Width><Height>40</Height><FontFace>3"
                                         "</FontFace><FontSize>10</FontSize><FontStyle>0</FontStyle><TxtR>0</TxtR><TxtG>0"
                                         "</TxtG><TxtB>0</TxtB><Visible>1</Visible><Type>1</Type><Caption>%1</Caption>"
                                         "<AlignText>1</AlignText></ControlInfo>")
                              .arg(QString(captionLength, u'k'));
    for (int tab = 1; tab <= tabs; ++tab) {
      Settings(QStringLiteral("Insert Into FormDetails Values (%1, %2, 'Tab %2', '<TabInfo><NumOfCtrls>%3</NumOfCtrls>%4"
                              "</TabInfo>')")
                   .arg(kForm)
                   .arg(tab)
                   .arg(labelsPerTab)
                   .arg(label.repeated(labelsPerTab)));
    }
    Settings(QStringLiteral("Insert Into UserFormStatus Values (%1, 'ann', 'A')").arg(kForm));
  }

  QJsonObject DeviceForm() {
    return service_.Device().value(QStringLiteral("forms")).toObject().value(QString::number(kForm)).toObject();
  }
};

TEST_F(FormDelivery, AFormWaitsForItsProfileThenGoesOutWithItsTabs) {
  AddRows(2);
  ProfileStatus(QStringLiteral("ann"), QStringLiteral("A"));
  AddForm(2);
  service_.SetFault(QStringLiteral("SendData"), QStringLiteral("http500"));
  RunTurn();  // the profile stays at "A", so the form waits
  EXPECT_EQ(FormFlags(), QStringLiteral("ann/A"));

  service_.SetFault(QStringLiteral("SendData"), QStringLiteral("none"));
  RunTurn();
  EXPECT_EQ(FormFlags(), QStringLiteral("ann/"));
  const QJsonObject form = DeviceForm();
  EXPECT_EQ(form[QStringLiteral("title")].toString(), QStringLiteral("Main"));
  EXPECT_EQ(form[QStringLiteral("state")].toString(), QStringLiteral("finished"));
  ASSERT_EQ(form[QStringLiteral("tabs")].toArray().size(), 2);
  EXPECT_EQ(form[QStringLiteral("tabs")][1][QStringLiteral("controls")][0][QStringLiteral("caption")].toString(),
            QStringLiteral("kk"));
  EXPECT_TRUE(service_.DeviceErrors().isEmpty()) << service_.DeviceErrors().join(u'\n').toStdString();
}

TEST_F(FormDelivery, AFormWithoutItsFormInfoRowIsNotSentAndKeepsItsFlag) {
  ProfileStatus(QStringLiteral("ann"), QStringLiteral(""));
  AddForm(1);
  Settings(QStringLiteral("Delete From FormInfo"));
  RunTurn();
  EXPECT_TRUE(Sent().isEmpty());
  EXPECT_EQ(FormFlags(), QStringLiteral("ann/A"));
  EXPECT_TRUE(synctest::ReadLog(QStringLiteral("SyncServiceLog.log"))
                  .contains(u"<IsFormProfileProcessed> Form Information for FormID 9 not found."));
}

TEST_F(FormDelivery, AFormWithoutTabsGetsItsHeadAndEnd) {
  ProfileStatus(QStringLiteral("ann"), QStringLiteral(""));
  service_.SeedProfile(kProfile, {4, 1, 4}, {});
  AddForm(0);
  RunTurn();
  EXPECT_EQ(FormFlags(), QStringLiteral("ann/"));
  const QList<QByteArray> sent = Sent();
  ASSERT_EQ(sent.size(), 3);
  EXPECT_EQ(sent[1].toHex(), QByteArray("1700") + QByteArray("00000009") + QByteArray("01000000") + QByteArray("00000000"));
}

TEST_F(FormDelivery, AFormPastTheLimitGoesInSeveralStripsAndADeletedFormGetsDeleteForm) {
  ProfileStatus(QStringLiteral("ann"), QStringLiteral(""));
  service_.SeedProfile(kProfile, {4, 1, 4}, {});
  AddForm(40, 100, 150);  // about 36 kB a tab
  RunTurn();
  QList<QByteArray> strips;
  for (const QByteArray& buffer : Sent())
    if (Type(buffer) == 23) strips << buffer;
  ASSERT_EQ(strips.size(), 2);
  EXPECT_EQ(strips[0].mid(6, 4).toHex(), QByteArray("01000000"));
  EXPECT_EQ(strips[1].mid(6, 4).toHex(), QByteArray("00000000"));
  EXPECT_EQ(DeviceForm()[QStringLiteral("tabs")].toArray().size(), 40);

  Settings(QStringLiteral("Update UserFormStatus Set StatusFlag = 'D'"));
  RunTurn();
  EXPECT_EQ(Type(Sent().last()), 22);
  EXPECT_EQ(FormFlags(), QString());
  EXPECT_TRUE(DeviceForm().isEmpty());
  EXPECT_TRUE(service_.DeviceErrors().isEmpty()) << service_.DeviceErrors().join(u'\n').toStdString();
}

TEST_F(FormDelivery, AProfileAndFormRemovedBeforeTheyWentOutAreDeletedWithoutAStaleCopy) {
  AddRows(1);
  ProfileStatus(QStringLiteral("ann"), QStringLiteral("A"));
  AddForm(1);
  Settings(QStringLiteral("Update UserProfileStatus Set StatusFlag = 'D' where ProfileID = %1").arg(kProfile));
  Settings(QStringLiteral("Update UserFormStatus Set StatusFlag = 'D' where FormID = %1").arg(kForm));
  RunTurn();

  const QList<QByteArray> sent = Sent();
  ASSERT_EQ(sent.size(), 2);
  EXPECT_EQ(Type(sent[0]), 2);
  EXPECT_EQ(Type(sent[1]), 22);
  EXPECT_TRUE(service_.DeviceErrors().isEmpty()) << service_.DeviceErrors().join(u'\n').toStdString();
  EXPECT_TRUE(DeviceProfile().isEmpty());
  EXPECT_TRUE(DeviceForm().isEmpty());
  EXPECT_EQ(ProfileFlags(), QString());
  EXPECT_EQ(FormFlags(), QString());
}

}  // namespace
