#include "sync/engine/DeviceMessages.h"

#include <gtest/gtest.h>

using namespace devicemessages;

namespace {

QByteArray Hex(const char* hex) { return QByteArray::fromHex(hex); }

}  // namespace

TEST(DeviceMessages, TheStreamIsReadUpToItsEndMessage) {
  const QByteArray stream = Hex("01"
                                "0700"                                    // unknown: two bytes passed over
                                "0500" "05000000" "01000000" "09000000"   // delete
                                "0300" "05000000" "02000000" "03000000" "06000000" "00000000" "abcd"  // add, 2 bytes of row
                                "0000" "ffff");
  const DeviceStream read = ReadDeviceStream(stream);
  EXPECT_TRUE(read.problem.isEmpty()) << read.problem.toStdString();
  ASSERT_EQ(read.messages.size(), 3u);
  EXPECT_EQ(read.messages[0].type, 7);
  EXPECT_EQ(read.messages[1].type, kRecordDeleted);
  EXPECT_EQ(read.messages[1].recordIndex, 9);
  EXPECT_EQ(read.messages[2].type, kRecordAdded);
  EXPECT_EQ(read.messages[2].profileId, 5);
  EXPECT_EQ(read.messages[2].recordSource, 2);
  EXPECT_EQ(read.messages[2].recordIndex, 3);
  EXPECT_EQ(read.messages[2].rowData, Hex("abcd"));
}

TEST(DeviceMessages, StreamsThatHoldNothingOrAreBrokenApplyOnlyWhatCameWhole) {
  struct Case {
    const char* what;
    const char* hex;
    size_t messages;
    bool problem;
  };
  const Case cases[] = {
      {"end at once", "010000", 0, false},
      {"not opened by 1", "020500050000000100000009000000", 0, false},
      {"empty", "", 0, false},
      {"no end message", "01" "0500" "05000000" "01000000" "09000000", 1, true},
      {"delete cut short", "01" "0500" "050000", 0, true},
      {"row length below 4", "01" "0400" "05000000" "01000000" "09000000" "03000000" "00000000" "0000", 0, true},
      {"row length past the stream", "01" "0400" "05000000" "01000000" "09000000" "ffffff7f" "00000000" "0000", 0, true},
      {"row head cut short", "01" "0300" "05000000" "01000000" "09000000" "0600", 0, true},
  };
  for (const Case& c : cases) {
    const DeviceStream read = ReadDeviceStream(QByteArray::fromHex(c.hex));
    EXPECT_EQ(read.messages.size(), c.messages) << c.what;
    EXPECT_EQ(!read.problem.isEmpty(), c.problem) << c.what;
  }
}

TEST(DeviceMessages, AcknowledgementRecord) {
  EXPECT_EQ(BuildAckRecord(5, 1, 7, 1, QStringLiteral("Synced")).toHex(),
            QByteArray("05000000" "01000000" "07000000" "0100" "0c00" "530079006e00630065006400"));
  EXPECT_EQ(BuildAckRecord(-1, 2, 3, 0, QString()).size(), 16);
}

TEST(DeviceMessages, KeptMessagesTravelAsTheStreamTheyCameIn) {
  const QByteArray stream = Hex("01"
                                "0400" "05000000" "01000000" "09000000" "06000000" "00000000" "abcd"
                                "0500" "05000000" "02000000" "03000000"
                                "0000");
  EXPECT_EQ(EncodeDeviceStream(ReadDeviceStream(stream).messages).toHex(), stream.toHex());
  EXPECT_EQ(EncodeDeviceStream({}).toHex(), QByteArray("010000"));
}
