// Back synchronisation through real turns: device edits come from the web-service double and
// reach the profile's table on each engine, under the conflict rule, with their acknowledgements.
#include "sync/engine/BackSyncDigestMap.h"
#include "sync/engine/CdbFile.h"
#include "sync/engine/KeptDeviceMessages.h"
#include "sync/engine/SnapshotJournal.h"
#include "sync/engine/SyncThreads.h"
#include "sync/engine/WebServiceCaller.h"
#include "tests/sync/data/SyncTestEngines.h"
#include "tests/sync/engine/BackSyncFixture.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace backsynctest;
using odbctest::Engine;

namespace {

class BackSync : public TableBackSync, public ::testing::WithParamInterface<Engine> {
 protected:
  void SetUp() override {
    TableBackSync::SetUp();
    if (!HasFatalFailure()) SetUpTable(GetParam());
  }
};

TEST_P(BackSync, ADeviceUpdateOfAnUntouchedRowIsWrittenSyncedAndRecorded) {
  AddProfileInStep(Profile(TableQuery()));
  service_.QueueDeviceEdit(QStringLiteral("update"), kProfile, 1, 2, Values(2, "b-device", 20));
  ASSERT_TRUE(RunBackSyncTurn());
  EXPECT_EQ(Rows(), Texts({"1:a:1", "2:b-device:20", "3:c:3"}));
  EXPECT_EQ(service_.Acks(), QJsonArray{Ack(1, 2, 1, kSynced)});
  EXPECT_EQ(DeviceRecords(), Texts({"1#1=1:a:1", "1#2=2:b-device:20", "1#3=3:c:3"}));
  // Change detection finds the row as the snapshot has it, and knows back sync wrote it.
  const auto digest = DesktopDigest(1);
  const QList<CdbEntry> snapshot = Snapshot();
  ASSERT_EQ(snapshot.size(), 3);
  ASSERT_NE(SnapshotEntry(snapshot, 1, 2), nullptr);
  EXPECT_EQ(SnapshotEntry(snapshot, 1, 2)->digest, digest);
  EXPECT_TRUE(BackSyncDigestMap::Instance().Contains(kProfile, DigestToHex(digest.data())));
  EXPECT_TRUE(service_.DeviceErrors().isEmpty()) << qPrintable(service_.DeviceErrors().join(u'\n'));
}

TEST_P(BackSync, TheDesktopWinsOverADeviceEditOfARowItChangedSinceItWasSent) {
  AddProfileInStep(Profile(TableQuery()));
  RunOn(data_, QStringLiteral("UPDATE %1 SET name = 'b-desk' WHERE id = 2").arg(TableName()));
  RunOn(data_, QStringLiteral("UPDATE %1 SET qty = 30 WHERE id = 3").arg(TableName()));
  const QList<CdbEntry> before = Snapshot();
  service_.QueueDeviceEdit(QStringLiteral("update"), kProfile, 1, 2, Values(2, "b-device", 2));
  service_.QueueDeviceEdit(QStringLiteral("delete"), kProfile, 1, 3);
  service_.QueueDeviceEdit(QStringLiteral("delete"), kProfile, 1, 99);  // a record the snapshot lacks
  service_.QueueDeviceEdit(QStringLiteral("update"), kProfile, 1, 1, Values(1, "a-device", 1));  // untouched: applied
  ASSERT_TRUE(RunBackSyncTurn());
  EXPECT_EQ(Rows(), Texts({"1:a-device:1", "2:b-desk:2", "3:c:30"}));
  EXPECT_EQ(service_.Acks(), (QJsonArray{Ack(1, 2, 0, kConflict), Ack(1, 3, 0, kConflict), Ack(1, 99, 0, kConflict),
                                         Ack(1, 1, 1, kSynced)}));
  EXPECT_EQ(*SnapshotEntry(Snapshot(), 1, 2), *SnapshotEntry(before, 1, 2)) << "a refused change leaves the snapshot";
  EXPECT_EQ(DeviceRecords(), Texts({"1#1=1:a-device:1", "1#2=2:b:2", "1#3=3:c:3"}));
  EXPECT_EQ(LogLines(QStringLiteral("is already Changed, so device update request is ignored.")), 1);
}

TEST_P(BackSync, ADeviceAddIsInsertedOnceWithItsNumberFromTheDatabase) {
  AddProfileInStep(Profile(TableQuery()));
  // Sent twice, as the service does after a lost acknowledgement.
  service_.QueueDeviceEdit(QStringLiteral("add"), kProfile, 2, 9, Values(0, "d", 4), 2);
  ASSERT_TRUE(RunBackSyncTurn());
  EXPECT_EQ(Rows(), Texts({"1:a:1", "2:b:2", "3:c:3", "4:d:4"}));
  EXPECT_EQ(service_.Acks(), (QJsonArray{Ack(2, 9, 1, kSynced), Ack(2, 9, 1, kSynced)}));
  const QList<CdbEntry> snapshot = Snapshot();
  ASSERT_EQ(snapshot.size(), 4);
  ASSERT_NE(SnapshotEntry(snapshot, 2, 9), nullptr);
  EXPECT_EQ(SnapshotEntry(snapshot, 2, 9)->digest, DesktopDigest(3));
}

TEST_P(BackSync, ADeviceDeleteRemovesTheRowAndItsSnapshotEntry) {
  AddProfileInStep(Profile(TableQuery()));
  service_.QueueDeviceEdit(QStringLiteral("delete"), kProfile, 1, 2);
  ASSERT_TRUE(RunBackSyncTurn());
  EXPECT_EQ(Rows(), Texts({"1:a:1", "3:c:3"}));
  EXPECT_EQ(service_.Acks(), QJsonArray{Ack(1, 2, 1, kSynced)});
  EXPECT_EQ(SnapshotEntry(Snapshot(), 1, 2), nullptr);
  EXPECT_EQ(Snapshot().size(), 2);
  EXPECT_EQ(DeviceRecords(), Texts({"1#1=1:a:1", "1#3=3:c:3"}));
}

// Several changes to one record in one turn: each finds the row as the change before left it.
TEST_P(BackSync, ChangesToOneRecordInOneTurnEachFindTheRowTheOneBeforeLeft) {
  AddProfileInStep(Profile(TableQuery()));
  service_.QueueDeviceEdit(QStringLiteral("add"), kProfile, 2, 9, Values(0, "d", 4));
  service_.QueueDeviceEdit(QStringLiteral("update"), kProfile, 2, 9, Values(4, "d-device", 40));
  service_.QueueDeviceEdit(QStringLiteral("update"), kProfile, 1, 1, Values(1, "a-device", 1));
  service_.QueueDeviceEdit(QStringLiteral("update"), kProfile, 1, 1, Values(1, "a-again", 10));
  service_.QueueDeviceEdit(QStringLiteral("delete"), kProfile, 1, 1);
  ASSERT_TRUE(RunBackSyncTurn());
  EXPECT_EQ(Rows(), Texts({"2:b:2", "3:c:3", "4:d-device:40"}));
  EXPECT_EQ(service_.Acks(), (QJsonArray{Ack(2, 9, 1, kSynced), Ack(2, 9, 1, kSynced), Ack(1, 1, 1, kSynced),
                                         Ack(1, 1, 1, kSynced), Ack(1, 1, 1, kSynced)}));
  const QList<CdbEntry> snapshot = Snapshot();
  ASSERT_EQ(snapshot.size(), 3);
  EXPECT_EQ(SnapshotEntry(snapshot, 1, 1), nullptr);
  ASSERT_NE(SnapshotEntry(snapshot, 2, 9), nullptr);
  EXPECT_EQ(SnapshotEntry(snapshot, 2, 9)->digest, DesktopDigest(2));
  CCdbFile snapshotFile;
  snapshotFile.SetCdbFileName(kProfile);
  EXPECT_FALSE(snapshotFile.Journal().Exists()) << "the turn ends with the snapshot written whole";
}

// The program was killed after it wrote the device's changes to the table and before it recorded
// them: the messages are still kept, the snapshot is as before. They are recorded, not written
// again, and answered "Synced".
TEST_P(BackSync, AChangeWrittenBeforeTheProgramEndedIsNotWrittenAgain) {
  AddProfileInStep(Profile(TableQuery()));
  CCdbFile snapshotFile;
  snapshotFile.SetCdbFileName(kProfile);
  QFile snapshotBytes(snapshotFile.Path());
  ASSERT_TRUE(snapshotBytes.open(QIODevice::ReadOnly));
  const QByteArray before = snapshotBytes.readAll();
  snapshotBytes.close();
  service_.QueueDeviceEdit(QStringLiteral("add"), kProfile, 2, 9, Values(0, "d", 4));
  service_.QueueDeviceEdit(QStringLiteral("update"), kProfile, 1, 2, Values(2, "b-device", 20));
  service_.QueueDeviceEdit(QStringLiteral("delete"), kProfile, 1, 3);
  ASSERT_TRUE(RunBackSyncTurn());
  const QStringList written = Texts({"1:a:1", "2:b-device:20", "4:d:4"});
  ASSERT_EQ(Rows(), written);

  const auto message = [](uint16_t type, int32_t source, int32_t index, const QByteArray& row) {
    devicemessages::DeviceMessage kept;
    kept.type = type;
    kept.profileId = kProfile;
    kept.recordSource = source;
    kept.recordIndex = index;
    kept.rowData = row;
    return kept;
  };
  QByteArray added;
  QByteArray updated;
  const auto addedDigest = DesktopRow(2, &added);
  const auto updatedDigest = DesktopRow(1, &updated);
  ASSERT_TRUE(KeptDeviceMessages().Store({message(devicemessages::kRecordAdded, 2, 9, added),
                                          message(devicemessages::kRecordUpdated, 1, 2, updated),
                                          message(devicemessages::kRecordDeleted, 1, 3, QByteArray())}));
  ASSERT_TRUE(snapshotFile.WriteCdbBytes(before));

  ASSERT_TRUE(RunBackSyncTurn());
  EXPECT_EQ(Rows(), written);
  const QJsonArray acks = service_.Acks();
  ASSERT_EQ(acks.size(), 6);
  EXPECT_EQ(acks.at(3), Ack(2, 9, 1, kSynced));
  EXPECT_EQ(acks.at(4), Ack(1, 2, 1, kSynced));
  EXPECT_EQ(acks.at(5), Ack(1, 3, 1, kSynced));
  const QList<CdbEntry> snapshot = Snapshot();
  ASSERT_EQ(snapshot.size(), 3);
  ASSERT_NE(SnapshotEntry(snapshot, 2, 9), nullptr);
  EXPECT_EQ(SnapshotEntry(snapshot, 2, 9)->digest, addedDigest);
  ASSERT_NE(SnapshotEntry(snapshot, 1, 2), nullptr);
  EXPECT_EQ(SnapshotEntry(snapshot, 1, 2)->digest, updatedDigest);
  EXPECT_EQ(SnapshotEntry(snapshot, 1, 3), nullptr);
  EXPECT_FALSE(QFile::exists(KeptDeviceMessages().Path()));
}

// The program kept a fetched edit and ended before answering it; the service hands the same edit
// out again. It is one edit: written and answered once.
TEST_P(BackSync, AKeptEditHandedOutAgainIsAnsweredOnce) {
  AddProfileInStep(Profile(TableQuery()));
  service_.Command({{QStringLiteral("cmd"), QStringLiteral("redeliver")}, {QStringLiteral("enabled"), true}});
  service_.QueueDeviceEdit(QStringLiteral("add"), kProfile, 2, 9, Values(0, "d", 4));
  QByteArray stream;
  ASSERT_TRUE(CWebServiceCaller().GetDataForDesktop(&stream));
  const devicemessages::DeviceStream fetched = devicemessages::ReadDeviceStream(stream);
  ASSERT_EQ(fetched.messages.size(), 1u);
  ASSERT_TRUE(KeptDeviceMessages().Store(fetched.messages));

  ASSERT_TRUE(RunBackSyncTurn());
  EXPECT_EQ(Rows(), Texts({"1:a:1", "2:b:2", "3:c:3", "4:d:4"}));
  EXPECT_EQ(service_.Acks(), QJsonArray{Ack(2, 9, 1, kSynced)});
  EXPECT_FALSE(QFile::exists(KeptDeviceMessages().Path()));
}

TEST_P(BackSync, RefusedAcknowledgementsAreStoredAndDeliveredFirstOnTheNextTurn) {
  AddProfileInStep(Profile(TableQuery()));
  service_.SetFault(QStringLiteral("AckFromDesktop"), QStringLiteral("http500"));
  // Two answers for one record: both must survive and arrive.
  service_.QueueDeviceEdit(QStringLiteral("update"), kProfile, 1, 2, Values(2, "b2", 2));
  service_.QueueDeviceEdit(QStringLiteral("delete"), kProfile, 1, 2);
  ASSERT_TRUE(RunBackSyncTurn());
  EXPECT_EQ(Rows(), Texts({"1:a:1", "3:c:3"}));
  EXPECT_EQ(PendingAcks(), Texts({"7/1/2/user01/1/Synced", "7/1/2/user01/1/Synced"}));
  EXPECT_EQ(LogLines(QStringLiteral("Failed to Send AckFromDesktop for Profile 7 for User user01 and RecordSource : 1 & "
                                    "RecordIndex : 2")),
            2);

  // Still refused: the turn ends before fetching, and nothing is lost.
  const qsizetype requestsBefore = service_.Requests().size();
  ASSERT_TRUE(RunBackSyncTurn());
  EXPECT_EQ(PendingAcks().size(), 2);
  const QJsonArray refusedTurn = service_.Requests();
  ASSERT_EQ(refusedTurn.size(), requestsBefore + 1) << "one refused resend, no fetch";

  service_.SetFault(QStringLiteral("AckFromDesktop"), QStringLiteral("none"));
  ASSERT_TRUE(RunBackSyncTurn());
  EXPECT_EQ(service_.Acks(), (QJsonArray{Ack(1, 2, 1, kSynced), Ack(1, 2, 1, kSynced)}));
  EXPECT_TRUE(PendingAcks().isEmpty());
  const QJsonArray requests = service_.Requests();
  ASSERT_EQ(requests.size(), refusedTurn.size() + 3);
  for (const qsizetype at : {refusedTurn.size(), refusedTurn.size() + 1}) {
    EXPECT_TRUE(QByteArray::fromBase64(requests[at].toObject()[QStringLiteral("body")].toString().toLatin1())
                    .contains("AckFromDesktop>"))
        << "the stored answers go before the fetch";
  }
}

TEST_P(BackSync, AStoredProcedureProfileRefusesDeviceChanges) {
  // A query that does not begin with "Select" runs as a procedure.
  AddProfileInStep(Profile(QStringLiteral("select id, name, qty from %1 order by id").arg(TableName())));
  service_.QueueDeviceEdit(QStringLiteral("update"), kProfile, 1, 2, Values(2, "b2", 2));
  ASSERT_TRUE(RunBackSyncTurn());
  EXPECT_EQ(Rows(), Texts({"1:a:1", "2:b:2", "3:c:3"}));
  EXPECT_EQ(service_.Acks(), QJsonArray{Ack(1, 2, 0, QStringLiteral("Back Sync Not Allowed for Stored Procedure."))});
}

TEST_P(BackSync, AMessageForADeviceTheProfileDoesNotNameIsDroppedUnanswered) {
  Register(QStringLiteral("12"));
  AddProfileInStep(Profile(TableQuery(), QStringLiteral("123,")));
  service_.QueueDeviceEdit(QStringLiteral("update"), kProfile, 1, 2, Values(2, "b2", 2));
  service_.QueueDeviceEdit(QStringLiteral("update"), kProfile + 1, 1, 2, Values(2, "b2", 2));  // no such profile
  ASSERT_TRUE(RunBackSyncTurn());
  ASSERT_TRUE(RunBackSyncTurn());
  EXPECT_EQ(Rows(), Texts({"1:a:1", "2:b:2", "3:c:3"}));
  EXPECT_TRUE(service_.Acks().isEmpty());
}

// A source that cannot be reached keeps its messages; they are applied once it can.
class BackSyncKeeps : public TableBackSync {
 protected:
  void SetUp() override {
    TableBackSync::SetUp();
    if (!HasFatalFailure()) SetUpTable(Engine::Sqlite);
  }
};

TEST_F(BackSyncKeeps, MessagesForASourceOutOfReachWaitForALaterTurn) {
  AddProfileInStep(Profile(TableQuery()));
  data_.DisconnectDataSource();
  const QString file = synctest::SqliteTestFile();
  ASSERT_TRUE(QFile::rename(file, file + QStringLiteral(".away")));
  service_.QueueDeviceEdit(QStringLiteral("update"), kProfile, 1, 2, Values(2, "b-device", 20));
  service_.QueueDeviceEdit(QStringLiteral("delete"), kProfile, 1, 3);
  ASSERT_TRUE(RunBackSyncTurn());
  EXPECT_TRUE(service_.Acks().isEmpty());
  EXPECT_TRUE(QFile::exists(KeptDeviceMessages().Path()));
  EXPECT_EQ(LogLines(QStringLiteral("Failed to Connect User's Profile Database.")), 2);

  ASSERT_TRUE(QFile::rename(file + QStringLiteral(".away"), file));
  SYNC_CONNECT_OR_SKIP(Engine::Sqlite, &data_);
  service_.QueueDeviceEdit(QStringLiteral("update"), kProfile, 1, 1, Values(1, "a-device", 1));
  ASSERT_TRUE(RunBackSyncTurn());
  EXPECT_EQ(Rows(), Texts({"1:a-device:1", "2:b-device:20"}));
  EXPECT_EQ(service_.Acks(), (QJsonArray{Ack(1, 2, 1, kSynced), Ack(1, 3, 1, kSynced), Ack(1, 1, 1, kSynced)}))
      << "the kept messages go first";
  EXPECT_FALSE(QFile::exists(KeptDeviceMessages().Path()));
}

INSTANTIATE_TEST_SUITE_P(Engines, BackSync, ::testing::ValuesIn(odbctest::AllEngines()),
                         [](const ::testing::TestParamInfo<Engine>& engine) {
                           return odbctest::EngineName(engine.param).toStdString();
                         });

}  // namespace
