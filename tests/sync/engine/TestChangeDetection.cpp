// Change detection end to end: an in-step profile's table is changed, a pass runs in this
// process, and the test double's device must end up holding what the table holds.
#include "platform/registry/Registry.h"
#include "shared/RegistryRecords.h"
#include "shared/contract/RegistryNames.h"
#include "sync/data/RowDigest.h"
#include "sync/engine/BackSyncDigestMap.h"
#include "sync/engine/SyncStatus.h"
#include "tests/support/Eventually.h"
#include "tests/support/SettingsStore.h"
#include "tests/support/SyncInstallation.h"
#include "tests/support/WebServiceDouble.h"
#include "tests/sync/engine/InStepProfile.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>

#include <cstring>
#include <thread>

using odbctest::Engine;
using synctest::InStepProfile;

namespace {

constexpr int kRows = 5;
constexpr qsizetype kBunchBytes = 1024 * 1024;

// One record message of a sent buffer.
struct SentMessage {
  int type = 0;
  int32_t source = 0;
  int32_t index = 0;
  int32_t position = -1;  // added rows only

  bool operator==(const SentMessage&) const = default;
};

void PrintTo(const SentMessage& m, std::ostream* out) {
  *out << "{type " << m.type << ", " << m.source << "#" << m.index << ", row " << m.position << "}";
}

int32_t Le32(const QByteArray& data, qsizetype at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<uint8_t>(data.at(at + i));
  return static_cast<int32_t>(value);
}

int32_t Be32(const QByteArray& data, qsizetype at) {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value = (value << 8) | static_cast<uint8_t>(data.at(at + i));
  return static_cast<int32_t>(value);
}

// The record messages of one buffer; the device model checks their bodies.
QList<SentMessage> Messages(const QByteArray& buffer) {
  QList<SentMessage> messages;
  qsizetype at = 0;
  while (at + 2 <= buffer.size()) {
    SentMessage message;
    message.type = static_cast<uint8_t>(buffer.at(at)) | (static_cast<uint8_t>(buffer.at(at + 1)) << 8);
    EXPECT_EQ(Le32(buffer, at + 2), InStepProfile::kProfileId);
    if (message.type == 3) {
      message.source = Le32(buffer, at + 10);
      message.index = Le32(buffer, at + 14);
      message.position = Be32(buffer, at + 18);
      at += 10 + Le32(buffer, at + 6);
    } else {
      message.source = Le32(buffer, at + 6);
      message.index = Le32(buffer, at + 10);
      at += 14;
    }
    messages.append(message);
  }
  return messages;
}

SentMessage Added(int32_t index, int32_t position) { return {3, 1, index, position}; }
SentMessage Deleted(int32_t index) { return {5, 1, index, -1}; }

QString LongText(int n) { return QString(n, QLatin1Char('x')); }

class ChangeDetection : public ::testing::TestWithParam<Engine> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(service_.Started()) << qPrintable(service_.Error());
    SetSyncStatusCopy(1);
    QString unavailable;
    if (!profile_.Create(GetParam(), &service_, kRows, &unavailable)) {
      if (unavailable.startsWith(QStringLiteral("skip:"))) GTEST_SKIP() << qPrintable(unavailable);
      FAIL() << qPrintable(unavailable);
    }
  }

  void Change(const QString& sql) { ASSERT_EQ(profile_.Run(sql), QString()); }

  // The SendData buffers the double accepted since the last call.
  QList<QByteArray> NewBuffers() {
    QList<QByteArray> buffers;
    const QJsonArray received = service_.Received();
    for (qsizetype i = seen_; i < received.size(); ++i) {
      const QJsonObject record = received.at(i).toObject();
      if (record.value(QStringLiteral("operation")).toString() == QStringLiteral("SendData"))
        buffers.append(QByteArray::fromBase64(record.value(QStringLiteral("plain")).toString().toLatin1()));
    }
    seen_ = received.size();
    return buffers;
  }

  // The messages of each new buffer.
  QList<QList<SentMessage>> NewBunches() {
    QList<QList<SentMessage>> bunches;
    for (const QByteArray& buffer : NewBuffers()) bunches.append(Messages(buffer));
    return bunches;
  }

  void ExpectDeviceHoldsTheTable() {
    EXPECT_EQ(service_.DeviceErrors(), QStringList());
    EXPECT_EQ(profile_.DeviceRecords(), profile_.DesktopRecords());
    EXPECT_EQ(profile_.Snapshot().size(), profile_.DesktopRows().size());
  }

  QString Log() const { return synctest::ReadLog(QStringLiteral("SyncServiceLog.log")); }

  // A pass that sends nothing and keeps the snapshot as it was, saying why in the log.
  void ExpectPassHeldBack(const QString& reason) {
    const QList<CdbEntry> before = profile_.Snapshot();
    synctest::RunChangeDetection();
    EXPECT_TRUE(NewBuffers().isEmpty());
    EXPECT_EQ(profile_.Snapshot(), before);
    EXPECT_TRUE(Log().contains(reason)) << qPrintable(Log());
  }

  QString Table() const { return profile_.Table(); }

  testsupport::WebServiceDouble service_;
  InStepProfile profile_;
  qsizetype seen_ = 0;
};

TEST_P(ChangeDetection, AnUnchangedTableSendsNothingAndLeavesTheSnapshot) {
  const QList<CdbEntry> before = profile_.Snapshot();
  synctest::RunChangeDetection();
  EXPECT_TRUE(NewBuffers().isEmpty());
  EXPECT_EQ(profile_.Snapshot(), before);
  const QString log = Log();
  EXPECT_TRUE(log.contains(u"> <41> Profile Items with ProfileID 7 is to Process for DBChange.\r\n")) << qPrintable(log);
  EXPECT_FALSE(log.contains(u"Change Found"));
}

TEST_P(ChangeDetection, InsertUpdateAndDeleteReachTheDevice) {
  Change(profile_.InsertSql(kRows));
  synctest::RunChangeDetection();
  EXPECT_EQ(NewBunches(), QList<QList<SentMessage>>({{Added(kRows + 1, kRows)}}));
  EXPECT_EQ(profile_.NextRecordIndex(), kRows + 2);
  ExpectDeviceHoldsTheTable();
  EXPECT_TRUE(Log().contains(u"> <44> Change Found (Added<1>, Deleted<0>) in Profile : 7 Send to Web Service.\r\n"));
  EXPECT_TRUE(Log().contains(u"> <45> Successful to Send the Changed Data in Profile 7 to Web Service.\r\n"));

  // A changed row is an addition under a new index and the deletion of the old one, in one bunch.
  Change(QStringLiteral("UPDATE %1 SET name = 'renamed' WHERE id = 2").arg(Table()));
  synctest::RunChangeDetection();
  EXPECT_EQ(NewBunches(), QList<QList<SentMessage>>({{Added(kRows + 2, 1), Deleted(2)}}));
  ExpectDeviceHoldsTheTable();

  Change(QStringLiteral("DELETE FROM %1 WHERE id = 3").arg(Table()));
  synctest::RunChangeDetection();
  EXPECT_EQ(NewBunches(), QList<QList<SentMessage>>({{Deleted(3)}}));
  ExpectDeviceHoldsTheTable();

  synctest::RunChangeDetection();
  EXPECT_TRUE(NewBuffers().isEmpty());
}

TEST_P(ChangeDetection, ManyRowsGoInBunchesOfAHundredWithTheSnapshotRewrittenAfterEach) {
  for (int n = kRows; n < kRows + 250; ++n) Change(profile_.InsertSql(n));
  // The third bunch is refused: the two before it are in the snapshot and on the device.
  service_.SetFault(QStringLiteral("SendData"), QStringLiteral("http500"), {{QStringLiteral("after"), 2}});
  synctest::RunChangeDetection();
  QList<QList<SentMessage>> bunches = NewBunches();
  ASSERT_EQ(bunches.size(), 2);
  EXPECT_EQ(bunches.at(0).size(), 100);
  EXPECT_EQ(bunches.at(1).size(), 100);
  EXPECT_EQ(bunches.at(1).last(), Added(kRows + 200, kRows + 199));
  EXPECT_EQ(profile_.Snapshot().size(), kRows + 200);
  EXPECT_EQ(profile_.NextRecordIndex(), kRows + 201);  // the refused bunch's indexes are handed out again
  EXPECT_TRUE(Log().contains(u"> <-1> <Bunch> Successful to Send the Changed Data in Profile 7 to Web Service.\r\n"));
  EXPECT_TRUE(Log().contains(u"> <52> Failed to Send the Changed Data in Profile 7 to Web Service.\r\n"));

  service_.SetFault(QStringLiteral("SendData"), QStringLiteral("none"));
  synctest::RunChangeDetection();
  bunches = NewBunches();
  ASSERT_EQ(bunches.size(), 1);
  ASSERT_EQ(bunches.at(0).size(), 50);
  EXPECT_EQ(bunches.at(0).first(), Added(kRows + 201, kRows + 200));
  ExpectDeviceHoldsTheTable();
}

TEST_P(ChangeDetection, ARefusedSendLosesNothing) {
  Change(profile_.InsertSql(kRows));
  Change(QStringLiteral("DELETE FROM %1 WHERE id = 1").arg(Table()));
  const QList<CdbEntry> before = profile_.Snapshot();
  service_.SetFault(QStringLiteral("SendData"), QStringLiteral("http500"));
  synctest::RunChangeDetection();
  EXPECT_TRUE(NewBuffers().isEmpty());
  EXPECT_EQ(profile_.NextRecordIndex(), kRows + 1);
  EXPECT_EQ(profile_.Snapshot().size(), before.size());

  service_.SetFault(QStringLiteral("SendData"), QStringLiteral("none"));
  synctest::RunChangeDetection();
  EXPECT_EQ(NewBunches(), QList<QList<SentMessage>>({{Added(kRows + 1, kRows - 1), Deleted(1)}}));
  ExpectDeviceHoldsTheTable();
}

TEST_P(ChangeDetection, ARowThatCannotBeEncodedIsSkippedAndTheRestOfTheProfileGoesOn) {
  // Two texts past what a device record can address make row 2 impossible to send; the other
  // changes of the profile go all the same, and the row goes once it fits again.
  Change(QStringLiteral("UPDATE %1 SET name = '%2', note = '%2' WHERE id = 2").arg(Table(), LongText(17000)));
  Change(QStringLiteral("DELETE FROM %1 WHERE id = 4").arg(Table()));
  Change(profile_.InsertSql(kRows));
  synctest::RunChangeDetection();
  EXPECT_TRUE(Log().contains(u"Row 1 of Profile 7 cannot be encoded for the devices and is skipped.")) << qPrintable(Log());
  QList<QList<SentMessage>> bunches = NewBunches();
  ASSERT_EQ(bunches.size(), 1);
  ASSERT_EQ(bunches.at(0).size(), 3);
  EXPECT_EQ(bunches.at(0).at(0), Added(kRows + 1, kRows - 1));
  // Deletions go in the order of their digests; row 2's old content is no longer on the desktop.
  EXPECT_TRUE(bunches.at(0).contains(Deleted(2)));
  EXPECT_TRUE(bunches.at(0).contains(Deleted(4)));
  EXPECT_EQ(profile_.Snapshot().size(), kRows - 1);
  synctest::RunChangeDetection();
  EXPECT_TRUE(NewBuffers().isEmpty()) << "the skipped row costs nothing on later turns";

  Change(QStringLiteral("UPDATE %1 SET name = 'short', note = 'short' WHERE id = 2").arg(Table()));
  synctest::RunChangeDetection();
  bunches = NewBunches();
  EXPECT_EQ(bunches, QList<QList<SentMessage>>({{Added(kRows + 2, 1)}}));
  ExpectDeviceHoldsTheTable();
}

// A stop while the service holds back its answer to a bunch it took: the exchange runs to its
// answer, what it carried is recorded, and nothing goes twice.
TEST_P(ChangeDetection, AStopDuringAnExchangeWaitsForItsAnswerAndSendsNothingTwice) {
  Change(profile_.InsertSql(kRows));
  Change(QStringLiteral("DELETE FROM %1 WHERE id = 1").arg(Table()));
  service_.SetFault(QStringLiteral("SendData"), QStringLiteral("holdAnswer"), {{QStringLiteral("seconds"), 2}});
  std::thread stopper([this] {
    testsupport::Eventually([this] { return !service_.Received().isEmpty(); });
    SetSyncStatusCopy(0);
  });
  synctest::RunChangeDetection();
  stopper.join();
  SetSyncStatusCopy(1);
  service_.SetFault(QStringLiteral("SendData"), QStringLiteral("none"));
  EXPECT_EQ(NewBunches(), QList<QList<SentMessage>>({{Added(kRows + 1, kRows - 1), Deleted(1)}}));
  synctest::RunChangeDetection();
  EXPECT_TRUE(NewBuffers().isEmpty());
  ExpectDeviceHoldsTheTable();
}

// The service took a bunch and its answer never came: the devices may hold its additions or not.
// They are deleted first on the next pass, and their rows go again under new indexes.
TEST_P(ChangeDetection, AdditionsWithoutAnAnswerAreDeletedBeforeTheyGoAgain) {
  Change(profile_.InsertSql(kRows));
  Change(profile_.InsertSql(kRows + 1));
  service_.SetFault(QStringLiteral("SendData"), QStringLiteral("holdAnswer"),
                    {{QStringLiteral("seconds"), 0}, {QStringLiteral("answer"), false}});
  synctest::RunChangeDetection();
  EXPECT_EQ(NewBunches(), QList<QList<SentMessage>>({{Added(kRows + 1, kRows), Added(kRows + 2, kRows + 1)}}));
  EXPECT_EQ(profile_.NextRecordIndex(), kRows + 3) << "indexes the devices may hold are not handed out again";
  EXPECT_TRUE(Log().contains(u"its additions are in doubt")) << qPrintable(Log());

  service_.SetFault(QStringLiteral("SendData"), QStringLiteral("none"));
  synctest::RunChangeDetection();
  EXPECT_EQ(NewBunches(), QList<QList<SentMessage>>({{Deleted(kRows + 1), Deleted(kRows + 2), Added(kRows + 3, kRows),
                                                      Added(kRows + 4, kRows + 1)}}));
  ExpectDeviceHoldsTheTable();
}

TEST_P(ChangeDetection, AMissingSnapshotIsCreatedByTheFirstAcceptedSend) {
  profile_.RemoveSnapshot();
  profile_.EmptyDevice();
  synctest::RunChangeDetection();
  const QList<QList<SentMessage>> bunches = NewBunches();
  ASSERT_EQ(bunches.size(), 1);
  EXPECT_EQ(bunches.at(0).size(), kRows);
  ASSERT_TRUE(profile_.SnapshotExists());
  EXPECT_EQ(profile_.Snapshot().size(), kRows);
  synctest::RunChangeDetection();
  EXPECT_TRUE(NewBuffers().isEmpty());
}

TEST_P(ChangeDetection, RowsBackSynchronisationWroteAreNotEchoed) {
  Change(profile_.InsertSql(kRows));
  const QString digest = DigestToHex(profile_.DesktopRows().last().entry.digest.data());
  {
    const SyncSemaphoreHold hold(BackTrackConflictSemaphore());
    BackSyncDigestMap::Instance().MakeStatusKey(InStepProfile::kProfileId, digest);
  }
  // As many rows as snapshot entries: the deletion is found all the same.
  Change(QStringLiteral("DELETE FROM %1 WHERE id = 1").arg(Table()));
  synctest::RunChangeDetection();
  EXPECT_EQ(NewBunches(), QList<QList<SentMessage>>({{Deleted(1)}}));
  EXPECT_FALSE(BackSyncDigestMap::Instance().Contains(InStepProfile::kProfileId, digest));  // emptied at the pass end
}

TEST_P(ChangeDetection, WithoutARecordIndexTheProfileWaits) {
  testsupport::StoreValue(registrynames::kRecordIndexKey, QString::number(InStepProfile::kProfileId),
                          platform::RegistryValue::FromString(QStringLiteral("not a number")));
  Change(profile_.InsertSql(kRows));
  Change(QStringLiteral("DELETE FROM %1 WHERE id = 1").arg(Table()));
  ExpectPassHeldBack(QStringLiteral("Failed to Get the Next Record Index of Profile 7"));
}

TEST_P(ChangeDetection, AProfileNotInStepIsNotExamined) {
  ASSERT_EQ(profile_.SetStatusFlag(QStringLiteral("A")), QString());
  Change(profile_.InsertSql(kRows));
  synctest::RunChangeDetection();
  EXPECT_TRUE(NewBuffers().isEmpty());
  EXPECT_FALSE(Log().contains(u"is to Process for DBChange."));
}

TEST_P(ChangeDetection, ABunchStaysWithinAMegabyte) {
  for (int n = kRows; n < kRows + 70; ++n) {
    Change(profile_.InsertSql(n));
    Change(QStringLiteral("UPDATE %1 SET note = '%2' WHERE id = %3").arg(Table(), LongText(16000)).arg(n + 1));
  }
  synctest::RunChangeDetection();
  const QList<QByteArray> buffers = NewBuffers();
  ASSERT_GE(buffers.size(), 3);
  qsizetype messages = 0;
  for (const QByteArray& buffer : buffers) {
    EXPECT_LE(buffer.size(), kBunchBytes);
    messages += Messages(buffer).size();
  }
  EXPECT_EQ(messages, 70);
  ExpectDeviceHoldsTheTable();
}

INSTANTIATE_TEST_SUITE_P(Engines, ChangeDetection, ::testing::Values(Engine::Sqlite, Engine::PostgreSql),
                         [](const ::testing::TestParamInfo<Engine>& engine) {
                           return odbctest::EngineName(engine.param).toStdString();
                         });

class WorkbookChangeDetection : public ::testing::TestWithParam<InStepProfile::Workbook> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(service_.Started()) << qPrintable(service_.Error());
    SetSyncStatusCopy(1);
    QString unavailable;
    ASSERT_TRUE(profile_.CreateWorkbook(GetParam(), &service_, kRows, &unavailable)) << qPrintable(unavailable);
  }

  testsupport::WebServiceDouble service_;
  InStepProfile profile_;
};

// The workbook gains a row and one of its rows is renamed: the device follows.
TEST_P(WorkbookChangeDetection, ChangedSheetRowsReachTheDevice) {
  ASSERT_EQ(profile_.DeviceRecords().size(), profile_.DesktopRows().size());
  ASSERT_TRUE(profile_.WriteWorkbook(kRows + 1, 2));
  synctest::RunChangeDetection();
  EXPECT_EQ(service_.DeviceErrors(), QStringList());
  EXPECT_EQ(profile_.DeviceRecords(), profile_.DesktopRecords());
  EXPECT_EQ(profile_.NextRecordIndex(), profile_.Snapshot().size() + 2) << "two additions took indexes";
  const QJsonArray log = service_.Device().value(QStringLiteral("log")).toArray();
  EXPECT_EQ(log.size(), 3) << "two additions and a deletion";

  synctest::RunChangeDetection();
  EXPECT_EQ(service_.Device().value(QStringLiteral("log")).toArray().size(), 3) << "nothing more to send";
}

INSTANTIATE_TEST_SUITE_P(Workbooks, WorkbookChangeDetection,
                         ::testing::Values(InStepProfile::Workbook::Model, InStepProfile::Workbook::TextExport),
                         [](const ::testing::TestParamInfo<InStepProfile::Workbook>& kind) {
                           return std::string(kind.param == InStepProfile::Workbook::Model ? "Model" : "TextExport");
                         });

}  // namespace
