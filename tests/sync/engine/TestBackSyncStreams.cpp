// Device streams and envelopes as they may arrive damaged: nothing of the damaged part is
// applied, what came whole before it is applied and acknowledged, and nothing crashes.
#include "shared/Endian.h"
#include "shared/devicerecord/DeviceRecord.h"
#include "sync/engine/SyncThreads.h"
#include "tests/sync/engine/BackSyncFixture.h"

#include <gtest/gtest.h>

using namespace backsynctest;
using devicerecord::Value;

namespace {

QByteArray Fields(std::initializer_list<int32_t> fields) {
  QByteArray bytes;
  for (const int32_t field : fields) endian::AppendLE<uint32_t>(&bytes, static_cast<uint32_t>(field));
  return bytes;
}

QByteArray Type(uint16_t type) {
  QByteArray bytes;
  endian::AppendLE<uint16_t>(&bytes, type);
  return bytes;
}

// A type-4 message for record (1, index) of profile 7 whose row length field says `length`.
QByteArray Update(int32_t index, const QByteArray& record, int32_t length) {
  return Type(4) + Fields({kProfile, 1, index, length}) + QByteArray(4, '\0') + record;
}

QByteArray Update(int32_t index, const QByteArray& record) {
  return Update(index, record, static_cast<int32_t>(record.size() + 4));
}

// `head`, words of an unknown type, then `tail`: a stream whose envelope pads it with one zero
// byte, so that the padding cannot complete what the stream leaves unsaid.
QByteArray WithOnePaddingByte(const QByteArray& head, const QByteArray& tail) {
  QByteArray stream = head;
  for (int words = 0; words < 8 && (stream.size() + tail.size()) % 16 != 15; ++words) stream += Type(7);
  EXPECT_EQ((stream.size() + tail.size()) % 16, 15);
  return stream + tail;
}

QByteArray Record(int id, const char* name, int qty) {
  return devicerecord::Encode({Value::OfInteger(4, id), Value::OfText(1, QString::fromLatin1(name)),
                               Value::OfInteger(4, qty)})
      .value();
}

class BackSyncStreams : public TableBackSync {
 protected:
  void SetUp() override {
    TableBackSync::SetUp();
    if (HasFatalFailure()) return;
    SetUpTable(odbctest::Engine::Sqlite);
    if (HasFatalFailure() || IsSkipped()) return;
    AddProfileInStep(Profile(TableQuery()));
    seeded_ = Snapshot();
  }

  // The table and the snapshot as SetUp left them.
  void Restore() {
    RunOn(data_, QStringLiteral("UPDATE %1 SET name = 'a' WHERE id = 1").arg(TableName()));
    CCdbFile file;
    file.SetCdbFileName(kProfile);
    ASSERT_TRUE(file.WriteCdbRecords(seeded_));
  }

  QList<CdbEntry> seeded_;
};

TEST_F(BackSyncStreams, DamagedStreamsApplyOnlyWhatCameWholeBeforeTheDamage) {
  const QByteArray good = Update(1, Record(1, "a2", 1));
  struct Case {
    const char* what;
    QByteArray stream;
    QStringList rows;
    QJsonArray acks;
  };
  const QStringList untouched = Texts({"1:a:1", "2:b:2", "3:c:3"});
  const QStringList applied = Texts({"1:a2:1", "2:b:2", "3:c:3"});
  const QJsonArray syncedAck{Ack(1, 1, 1, kSynced)};
  const QByteArray open("\x01", 1);
  const QByteArray second = Record(2, "b2", 2);
  const Case cases[] = {
      {"an end at once", QByteArray("\x01\x00\x00", 3), untouched, {}},
      {"not opened by 1", QByteArray("\x02", 1) + good + Type(0), untouched, {}},
      {"a row length of 2", open + good + Update(2, second, 2) + Type(0), applied, syncedAck},
      {"a row length past the end", open + good + Update(2, second, 4096) + Type(0), applied, syncedAck},
      {"no end type", WithOnePaddingByte(open + good, {}), applied, syncedAck},
      {"a message cut short", WithOnePaddingByte(open + good, Type(5) + Fields({kProfile})), applied, syncedAck},
  };
  for (const Case& c : cases) {
    Restore();
    service_.Command({{QStringLiteral("cmd"), QStringLiteral("reset")}});
    service_.QueueStream(c.stream);
    ASSERT_TRUE(RunBackSyncTurn()) << c.what;
    EXPECT_EQ(Rows(), c.rows) << c.what;
    EXPECT_EQ(service_.Acks(), c.acks) << c.what;
  }
}

TEST_F(BackSyncStreams, AnUnknownTypeIsPassedOverTwoBytesAtATime) {
  service_.QueueStream(QByteArray("\x01", 1) + Type(7) + Type(5) + Fields({kProfile, 1, 3}) + Type(0));
  ASSERT_TRUE(RunBackSyncTurn());
  EXPECT_EQ(Rows(), Texts({"1:a:1", "2:b:2"}));
  EXPECT_EQ(service_.Acks(), QJsonArray{Ack(1, 3, 1, kSynced)});
  EXPECT_EQ(LogLines(QStringLiteral("In MessType Loop, MsgType = 7.")), 1);
  EXPECT_EQ(LogLines(QStringLiteral("In MessType Loop, MsgType = 5.")), 1);
}

TEST_F(BackSyncStreams, ARecordTheColumnsCannotTakeIsAnsweredWithTheReason) {
  QByteArray misfit = Record(2, "b2", 2);
  misfit[1] = '\x40';  // the first offset points past the record
  service_.QueueStream(QByteArray("\x01", 1) + Update(2, misfit) + Type(0));
  ASSERT_TRUE(RunBackSyncTurn());
  EXPECT_EQ(Rows(), Texts({"1:a:1", "2:b:2", "3:c:3"}));
  const QJsonArray acks = service_.Acks();
  ASSERT_EQ(acks.size(), 1);
  EXPECT_EQ(acks[0].toObject()[QStringLiteral("code")].toInt(), 0);
  EXPECT_TRUE(acks[0].toObject()[QStringLiteral("text")].toString().startsWith(u"Failed to update Record with key ."))
      << qPrintable(acks[0].toObject()[QStringLiteral("text")].toString());
}

TEST_F(BackSyncStreams, MalformedEnvelopesApplyNothing) {
  QByteArray head(32, '\x11');
  head += QByteArray("\x0f\x00", 2) + QByteArray(16, '\x22');  // key index 15
  const QString envelopes[] = {
      QString::fromLatin1(QByteArray(49, '\x01').toBase64()),
      QString::fromLatin1((head + QByteArray(16, '\x33')).toBase64()),
      QString::fromLatin1((QByteArray(50, '\x01') + QByteArray(17, '\x33')).toBase64()),  // not whole blocks
      QStringLiteral("not base64 at all!"),
  };
  for (const QString& envelope : envelopes) service_.QueueRaw(envelope);
  for (int turn = 0; turn < 4; ++turn) ASSERT_TRUE(RunBackSyncTurn());
  EXPECT_EQ(Rows(), Texts({"1:a:1", "2:b:2", "3:c:3"}));
  EXPECT_TRUE(service_.Acks().isEmpty());
  EXPECT_EQ(LogLines(QStringLiteral("Failed to Call GetDataForDekstop WebService method.")), 4);
}

}  // namespace
