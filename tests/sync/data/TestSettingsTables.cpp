#include "shared/RegistrySettings.h"
#include "sync/data/AckFromDesktopTableDB.h"
#include "sync/data/DatabaseHandler.h"
#include "sync/data/DatabseConnection.h"
#include "sync/data/FormDetailsDB.h"
#include "sync/data/FormInfoDB.h"
#include "sync/data/ProfileInfoDB.h"
#include "sync/data/UserFormStatusTable.h"
#include "sync/data/UserProfileStatusTable.h"
#include "tests/support/AdminInstallation.h"
#include "tests/support/SyncInstallation.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// An installation with a copy of the shipped settings database, and a second connection to it
// that writes the rows a case needs and reads back what the classes changed.
class SettingsTables : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString file = testsupport::InstallSettingsDatabase(synctest::PrepareInstallation());
    QString error;
    ASSERT_EQ(m_writer.ConnectDataSource(QStringLiteral("UserProfileDSN_4_TarnwickPLite_AD"), 1, file, QString(),
                                         QStringLiteral("pondGarue58"), &error, false),
              1)
        << qPrintable(error);
  }

  void Run(const QString& sql) {
    ASSERT_TRUE(SQL_SUCCEEDED(m_writer.ExecuteStatement(sql))) << qPrintable(m_writer.GetLastError());
  }

  // "<id>/<user>/<flag>" of every row of a status table, sorted, a blank between rows.
  QString StatusRows(const QString& table, const QString& idColumn) {
    syncservice::CDatabaseHandler handler;
    const QString sql = QStringLiteral("Select %1, UserID, StatusFlag From %2 Order By %1, UserID, StatusFlag")
                            .arg(idColumn, table);
    EXPECT_EQ(handler.ExecuteQuery(m_writer, sql), 1);
    QStringList rows;
    for (int32_t row = 0; row < handler.GetRowCount(); ++row) {
      handler.MoveToRow(row);
      rows << handler.GetFieldValue(row, 0) + u'/' + handler.GetFieldValue(row, 1) + u'/' +
                  handler.GetFieldValue(row, 2);
    }
    return rows.join(u' ');
  }

  syncservice::CDatabseConnection m_writer;
};

// Text that differs everywhere, so that a lost or repeated chunk shows.
QString LongText(qsizetype length) {
  const QString pattern = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789");
  QString text;
  while (text.size() < length) text += pattern + QString::number(text.size());
  return text.left(length);
}

TEST_F(SettingsTables, ProfileInfoReadsEveryColumnInPlaceAndAnEmptyClauseAddsNothing) {
  Run(QStringLiteral("Insert Into ProfileInfo Values (12, 'Orders', '1', 'orders.db', 'ann', 'secret', "
                     "'Select * From Orders', '/data/', 'u1,u2', 'OrderID', 'Device', '/tmp/', 3, 1, 'OrderID ASC', "
                     "'filters')"));
  CProfileInfoDB table;
  ASSERT_TRUE(table.IsConnected()) << qPrintable(table.GetErrorText());
  QString error;
  ASSERT_EQ(table.InitializeTable(QString(), &error), 1) << qPrintable(error);
  EXPECT_EQ(table.GetLastSelection(), QStringLiteral("Select * From ProfileInfo"));
  ASSERT_EQ(table.GetRecordCount(), 1);
  const ProfileRecord record = table.ReadRecord(0);
  EXPECT_EQ(record.ProfileID, 12);
  EXPECT_EQ(record.DBInfo, QStringLiteral("Orders"));
  EXPECT_EQ(record.DBType, QStringLiteral("1"));
  EXPECT_EQ(record.DB_DSN, QStringLiteral("orders.db"));
  EXPECT_EQ(record.UserName, QStringLiteral("ann"));
  EXPECT_EQ(record.Password, QStringLiteral("secret"));
  EXPECT_EQ(record.Query, QStringLiteral("Select * From Orders"));
  EXPECT_EQ(record.Path, QStringLiteral("/data/"));
  EXPECT_EQ(record.UserList, QStringLiteral("u1,u2"));
  EXPECT_EQ(record.PrimaryKeyField, QStringLiteral("OrderID"));
  EXPECT_EQ(record.SyncDestination, QStringLiteral("Device"));
  EXPECT_EQ(record.tempPath, QStringLiteral("/tmp/"));
  EXPECT_EQ(record.ProfileType, 3);
  EXPECT_EQ(record.IsPrimaryKeySelected, 1);
  EXPECT_EQ(record.SortColumnsInfo, QStringLiteral("OrderID ASC"));
}

TEST_F(SettingsTables, FormAndStatusTablesReadTheRowsTheirClauseSelectsWithTextsWhole) {
  Run(QStringLiteral("Insert Into FormInfo Values (1, 7, 'Visit', 'layout-1')"));
  const QString layout = LongText(100'000);
  Run(QStringLiteral("Insert Into FormInfo Values (2, 8, 'Order', '%1')").arg(layout));
  Run(QStringLiteral("Insert Into UserFormStatus Values (2, 'u9', 'AM')"));
  Run(QStringLiteral("Insert Into UserFormStatus Values (3, 'u1', 'AD')"));
  Run(QStringLiteral("Insert Into UserProfileStatus Values ('u4', 7, '')"));
  Run(QStringLiteral("Insert Into UserProfileStatus Values ('u5', 8, 'AD')"));
  QString error;

  CFormInfoDB forms;
  ASSERT_EQ(forms.InitializeTable(QStringLiteral("Where FormID = 2"), &error), 1) << qPrintable(error);
  EXPECT_EQ(forms.GetLastSelection(), QStringLiteral("Select * From FormInfo Where FormID = 2"));
  ASSERT_EQ(forms.GetRecordCount(), 1);
  const FormInfoRow form = forms.ReadRecord(0);
  EXPECT_EQ(form.FormID, 2);
  EXPECT_EQ(form.ProfileID, 8);
  EXPECT_EQ(form.FormTitle, QStringLiteral("Order"));
  EXPECT_EQ(form.FormInfo.size(), layout.size());
  EXPECT_TRUE(form.FormInfo == layout);

  CUserFormStatusTable formStatus;
  ASSERT_EQ(formStatus.InitializeTable(QStringLiteral("Where FormID = 2"), &error), 1) << qPrintable(error);
  ASSERT_EQ(formStatus.GetRecordCount(), 1);
  const UserFormStatusRow formRow = formStatus.ReadRecord(0);
  EXPECT_EQ(formRow.FormID, 2);
  EXPECT_EQ(formRow.UserID, QStringLiteral("u9"));
  EXPECT_EQ(formRow.StatusFlag, QStringLiteral("AM"));

  CUserProfileStatusTable profileStatus;
  ASSERT_EQ(profileStatus.InitializeTable(QStringLiteral("where ProfileID = 7 and StatusFlag = ''"), &error), 1)
      << qPrintable(error);
  ASSERT_EQ(profileStatus.GetRecordCount(), 1);
  const UserProfileStatusRow profileRow = profileStatus.ReadRecord(0);
  EXPECT_EQ(profileRow.UserID, QStringLiteral("u4"));
  EXPECT_EQ(profileRow.ProfileID, 7);
  EXPECT_TRUE(profileRow.StatusFlag.isEmpty());
}

TEST_F(SettingsTables, AFailingSelectionAnswersTheTablesText) {
  CFormInfoDB forms;
  QString error;
  EXPECT_EQ(forms.InitializeTable(QStringLiteral("Where NoSuchColumn = 1"), &error), 0);
  EXPECT_EQ(error, QStringLiteral("Failed to Initialize FormInfo."));
  EXPECT_EQ(forms.GetRecordCount(), 0);
}

struct StatusCase {
  const char* table;
  const char* idColumn;
  std::function<std::unique_ptr<StatusSettingsTable>()> make;
};

TEST_F(SettingsTables, StatusStatementsChangeExactlyTheRowsTheyName) {
  const StatusCase cases[] = {
      {"UserProfileStatus", "ProfileID", [] { return std::make_unique<CUserProfileStatusTable>(); }},
      {"UserFormStatus", "FormID", [] { return std::make_unique<CUserFormStatusTable>(); }},
  };
  for (const StatusCase& c : cases) {
    SCOPED_TRACE(c.table);
    const QString table = QString::fromLatin1(c.table);
    const QString id = QString::fromLatin1(c.idColumn);
    for (const char* row : {"7, 'u1', 'AD'", "7, 'u2', 'AD'", "7, 'u3', 'AM'", "8, 'u1', 'AD'"}) {
      Run(QStringLiteral("Insert Into %1 (%2, UserID, StatusFlag) Values (%3)").arg(table, id, QLatin1String(row)));
    }
    const std::unique_ptr<StatusSettingsTable> status = c.make();
    QString error;
    EXPECT_EQ(status->SetStatusFlag(7, QStringLiteral("AD"), QStringLiteral("AF"), &error), 1) << qPrintable(error);
    EXPECT_EQ(StatusRows(table, id), QStringLiteral("7/u1/AF 7/u2/AF 7/u3/AM 8/u1/AD"));
    EXPECT_EQ(status->DeleteStatusRecord(7, QStringLiteral("AF"), &error), 1) << qPrintable(error);
    EXPECT_EQ(StatusRows(table, id), QStringLiteral("7/u3/AM 8/u1/AD"));

    // A flag goes in as it is: a quote breaks the statement, and the driver's text says why.
    EXPECT_EQ(status->SetStatusFlag(8, QStringLiteral("A'D"), QStringLiteral("AF"), &error), 0);
    EXPECT_TRUE(error.startsWith(QStringLiteral("SQLSTATE:"))) << qPrintable(error);
    EXPECT_EQ(StatusRows(table, id), QStringLiteral("7/u3/AM 8/u1/AD"));
  }
}

TEST_F(SettingsTables, FormDetailsReadsRowsInOrderAndLongTabsWhole) {
  const QString title = LongText(40'000);
  const QString info = LongText(300'000);
  Run(QStringLiteral("Insert Into FormDetails Values (1, 1, 'General', 'fields')"));
  Run(QStringLiteral("Insert Into FormDetails Values (2, 1, 'Other', 'other')"));
  Run(QStringLiteral("Insert Into FormDetails Values (1, 2, '%1', '%2')").arg(title, info));
  CFormDetailsDB details;
  QString error;
  ASSERT_EQ(details.InitializeTable(QStringLiteral("Where FormID = 1 Order By TabID"), &error), 1);
  EXPECT_EQ(details.GetLastSelection(), QStringLiteral("Select * From FormDetails Where FormID = 1 Order By TabID"));
  ASSERT_EQ(details.GetRecordCount(), 2);

  const FormDetailsRow first = details.ReadRecord(0);
  EXPECT_EQ(first.FormID, 1);
  EXPECT_EQ(first.TabID, 1);
  EXPECT_EQ(first.TabTitle, QStringLiteral("General"));
  EXPECT_EQ(first.TabFormInfo, QStringLiteral("fields"));
  const FormDetailsRow second = details.ReadRecord(5);  // not a row number: the next row
  EXPECT_EQ(second.FormID, 1);
  EXPECT_EQ(second.TabID, 2);
  EXPECT_EQ(second.TabTitle.size(), title.size());
  EXPECT_TRUE(second.TabTitle == title);
  EXPECT_EQ(second.TabFormInfo.size(), info.size());
  EXPECT_TRUE(second.TabFormInfo == info);
}

TEST(SettingsTablesUnreachable, StatusAndDetailsTablesLogTwoLinesAndAnswerNothing) {
  synctest::PrepareInstallation();  // no settings database
  CUserProfileStatusTable profileStatus;
  CUserFormStatusTable formStatus;
  CFormDetailsDB details;
  const QStringList lines = synctest::ReadLog(QStringLiteral("SyncServiceLog.log")).split(QStringLiteral("\r\n"));
  ASSERT_GE(lines.size(), 6);
  const char* labels[] = {"UserProfileStatus", "UserFormStatus", "FormDetailsDB"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(lines[2 * i].mid(11),
              QStringLiteral("<-1> Failed to Connect User Profile Database in %1.").arg(QLatin1String(labels[i])));
    EXPECT_TRUE(lines[2 * i + 1].mid(11).startsWith(QStringLiteral("<-1> ")));
    EXPECT_GT(lines[2 * i + 1].size(), 16) << "the driver's text";
  }

  QString error;
  EXPECT_EQ(profileStatus.InitializeTable(QString(), &error), 0);
  EXPECT_EQ(error, QStringLiteral("Failed to Initialize UserProfileStatus, Database not connected."));
  EXPECT_EQ(profileStatus.GetRecordCount(), 0);
  EXPECT_EQ(profileStatus.MoveToRecord(0), 0);
  EXPECT_TRUE(profileStatus.ReadRecord(0).UserID.isEmpty());
  EXPECT_EQ(profileStatus.SetStatusFlag(7, QStringLiteral("AD"), QStringLiteral("AF"), &error), 0);
  EXPECT_EQ(error, QStringLiteral("Not Connected to UserProfileStatus."));
  EXPECT_EQ(formStatus.DeleteStatusRecord(7, QStringLiteral("AD"), &error), 0);
  EXPECT_EQ(error, QStringLiteral("Not Connected to UserFormStatus."));
  EXPECT_EQ(details.InitializeTable(QString(), &error), 0);
  EXPECT_EQ(error, QStringLiteral("Failed to Initialize FormDetails, Database not connected."));
  EXPECT_EQ(details.GetRecordCount(), 0);
  EXPECT_EQ(details.ReadRecord(0).TabID, 0);

  // Once the database is there, connecting again works.
  testsupport::InstallSettingsDatabase(GetInstallationPath());
  EXPECT_EQ(profileStatus.ConnectDatabase(), 1);
  EXPECT_EQ(profileStatus.InitializeTable(QString(), &error), 1) << qPrintable(error);
  EXPECT_EQ(profileStatus.GetRecordCount(), 0);
}

TEST(SettingsTablesUnreachable, ProfileAndFormTablesKeepTheFailureInsteadOfLogging) {
  synctest::PrepareInstallation();
  const CProfileInfoDB profiles;
  const CFormInfoDB forms;
  EXPECT_TRUE(
      profiles.GetErrorText().startsWith(QStringLiteral("Failed to Connect User Profile Database in ProfileInfo.")));
  EXPECT_GT(profiles.GetErrorText().size(), 55) << "the driver's text follows";
  EXPECT_TRUE(forms.GetErrorText().startsWith(QStringLiteral("Failed to Connect User Profile Database in FormInfo.")));
  EXPECT_TRUE(synctest::ReadLog(QStringLiteral("SyncServiceLog.log")).isEmpty());
}

TEST_F(SettingsTables, AcknowledgementsOfOneRecordAreStoredWholeAndRemovedOneByOne) {
  CAckFromDesktopTableDB table;
  ASSERT_TRUE(table.IsConnected()) << qPrintable(table.GetErrorText());
  QString longText = LongText(2'000);
  longText.replace(10, 1, u'\'').replace(999, 2, QStringLiteral("''"));
  const AckRecord updated{12, 3, 40, QStringLiteral("O'Brien's phone"), 2, longText, 0};
  const AckRecord deleted{12, 3, 40, QStringLiteral("O'Brien's phone"), 4, QStringLiteral("refused"), 0};
  QString error;
  ASSERT_EQ(table.AddAckRecord(updated, &error), 1) << qPrintable(error);
  ASSERT_EQ(table.AddAckRecord(deleted, &error), 1) << qPrintable(error);

  ASSERT_EQ(table.InitializeTable(QStringLiteral("Order By AckID"), &error), 1) << qPrintable(error);
  ASSERT_EQ(table.GetRecordCount(), 2);
  const AckRecord first = table.ReadRecord(0);
  EXPECT_EQ(first.ProfileID, 12);
  EXPECT_EQ(first.RecordSource, 3);
  EXPECT_EQ(first.RecordIndex, 40);
  EXPECT_EQ(first.DeviceID, updated.DeviceID);
  EXPECT_EQ(first.ResultCode, 2);
  EXPECT_EQ(first.ResultText.size(), 2'000);
  EXPECT_TRUE(first.ResultText == longText) << "quotes stored once, nothing cut";
  const AckRecord second = table.ReadRecord(1);
  EXPECT_EQ(second.ResultCode, 4);
  EXPECT_NE(second.AckID, first.AckID);

  ASSERT_EQ(table.DeleteAckRecord(first, &error), 1) << qPrintable(error);
  ASSERT_EQ(table.InitializeTable(QString(), &error), 1) << qPrintable(error);
  ASSERT_EQ(table.GetRecordCount(), 1) << "the other acknowledgement of the record stays";
  EXPECT_EQ(table.ReadRecord(0).ResultCode, 4);
}

TEST(SettingsTablesUnreachable, AnUnconnectedAcknowledgementTableAnswersNothing) {
  synctest::PrepareInstallation();
  CAckFromDesktopTableDB table;
  EXPECT_TRUE(table.GetErrorText().startsWith(
      QStringLiteral("Failed to Connect User Profile Database in AckFromDesktopTable.")));
  QString error = QStringLiteral("unchanged");
  EXPECT_EQ(table.DeleteAckRecord(AckRecord{}, &error), 0);
  EXPECT_EQ(error, QStringLiteral("unchanged"));
  EXPECT_EQ(table.InitializeTable(QString(), &error), 0);
  EXPECT_EQ(error, QStringLiteral("Failed to initialize AckFromDesktopTable, Database not Connected."));
  EXPECT_EQ(table.GetRecordCount(), 0);
  EXPECT_EQ(table.AddAckRecord(AckRecord{}, &error), 0);
  EXPECT_FALSE(error.isEmpty());
}

}  // namespace
