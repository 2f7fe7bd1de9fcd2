#include "setup/common/AdminOperation.h"
#include "setup/common/DataBuffer.h"
#include "shared/crypto/Base64.h"

#include <gtest/gtest.h>

namespace {

const QString kUdid = QStringLiteral("0123456789abcdef0123456789abcdef01234567");

struct RecordCase {
  const char* name;
  QByteArray record;
  qsizetype size;
  QByteArray base64;  // empty: only the size of the text is checked
  qsizetype base64Size;
};

TEST(DataBufferTest, RecordsHaveTheirExactLayout) {
  const AdminRecordHeader header;
  const RecordCase cases[] = {
      {"GetWebUrl", databuffer::GetWebUrlRecord(header), 36, "AxgAVABhAHIAbgB3AGkAYwBrAFAAbAB1AHMAAQYAMQAuADAA", 48},
      {"UninstallDesktop", databuffer::UninstallDesktopRecord(header.appName), 28, {}, 40},
      {"InstallDesktop without DeviceID", databuffer::InstallDesktopRecord(header, QString()), 38, {}, 52},
      {"InstallDesktop with a UDID", databuffer::InstallDesktopRecord(header, kUdid), 118, {}, 160},
  };
  for (const RecordCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.record.size(), c.size);
    const QByteArray text = Base64Encode(c.record);
    EXPECT_EQ(text.size(), c.base64Size);
    if (!c.base64.isEmpty()) {
      EXPECT_EQ(text, c.base64);
    }
  }
}

TEST(DataBufferTest, InstallDesktopPutsTheDeviceIdBetweenDeviceTypeAndVersion) {
  const QByteArray record = databuffer::InstallDesktopRecord(AdminRecordHeader(), QStringLiteral("é1"));
  // AppType, AppName (2 + 24), DeviceType, then DeviceID: length 4, U+00E9, '1'.
  EXPECT_EQ(record.mid(27, 7), QByteArray("\x01\x04\x00\xE9\x00\x31\x00", 7));
  EXPECT_EQ(record.mid(34), QByteArray("\x06\x00\x31\x00\x2E\x00\x30\x00", 8));
  const QByteArray uninstall = databuffer::UninstallDesktopRecord(QStringLiteral("TarnwickPlus"));
  EXPECT_EQ(uninstall.left(2), QByteArray("\x18\x00", 2));
  EXPECT_EQ(uninstall.right(2), QByteArray("\x00\x00", 2));
}

QByteArray Reply(uint16_t status, uint16_t length, const QByteArray& text) {
  QByteArray record;
  record.append(static_cast<char>(status & 0xFF)).append(static_cast<char>(status >> 8));
  record.append(static_cast<char>(length & 0xFF)).append(static_cast<char>(length >> 8));
  return record + text;
}

TEST(DataBufferTest, ReplyRecordsAreReadWithinTheirBytes) {
  struct Case {
    const char* name;
    QByteArray record;
    bool readable;
    uint16_t status;
    QString text;
  };
  const Case cases[] = {
      {"normal", Reply(0, 4, QByteArray("o\0k\0", 4)), true, 0, QStringLiteral("ok")},
      {"refusal", Reply(1, 0, {}), true, 1, QString()},
      {"non-ASCII", Reply(0, 4, QByteArray("\xE9\x00\xAC\x20", 4)), true, 0, QStringLiteral("é€")},
      {"bytes after the text are not read", Reply(0, 2, QByteArray("a\0b\0", 4)), true, 0, QStringLiteral("a")},
      {"empty", QByteArray(), false, 0, QString()},
      {"short head", QByteArray("\x00\x00\x02", 3), false, 0, QString()},
      {"length past the end", Reply(0, 40, QByteArray("a\0b\0c\0", 6)), false, 0, QString()},
      {"odd length", Reply(0, 3, QByteArray("abc", 3)), false, 0, QString()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QString refusal;
    const auto reply = databuffer::ReadReply(c.record, &refusal);
    ASSERT_EQ(reply.has_value(), c.readable);
    if (!reply) {
      EXPECT_FALSE(refusal.isEmpty());
      continue;
    }
    EXPECT_EQ(reply->status, c.status);
    EXPECT_EQ(reply->text, c.text);
  }
}

TEST(AdminOperationTest, RequestBodiesAreOneExactLine) {
  const QByteArray body = AdminRequestBody(AdminOperation::UninstallDesktop, QStringLiteral("desk"), "AAAA");
  EXPECT_TRUE(body.startsWith("<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope xmlns:xsi="));
  EXPECT_TRUE(body.endsWith("  <soap:Body>    <UninstallDesktop xmlns=\"AdminService\">      <DesktopID>desk</DesktopID>"
                            "      <DataBuffer>AAAA</DataBuffer>    </UninstallDesktop>  </soap:Body></soap:Envelope>"));
  EXPECT_EQ(AdminGetDataTestBody().size(), 290);
  EXPECT_TRUE(AdminGetDataTestBody().contains("    <GetDataTest xmlns=\"AdminService\" />  </soap:Body>"));
}

TEST(AdminOperationTest, DesktopIdIsEscapedForXml) {
  const QByteArray body = AdminRequestBody(AdminOperation::GetWebUrl, QStringLiteral("a&b<c>\"é"), "AAAA");
  EXPECT_TRUE(body.contains("<DesktopID>a&amp;b&lt;c&gt;&quot;\xC3\xA9</DesktopID>"));
  // An identifier of letters and digits goes in as it stands.
  EXPECT_TRUE(AdminRequestBody(AdminOperation::GetWebUrl, kUdid, "AAAA").contains("<DesktopID>" + kUdid.toLatin1() + "<"));
}

}  // namespace
