#include "shared/RegistryRecords.h"
#include "shared/contract/RegistryNames.h"
#include "sync/data/SyncSettings.h"
#include "sync/engine/SyncStatus.h"
#include "sync/engine/WebServiceCaller.h"
#include "sync/engine/WebServiceConnectionTest.h"
#include "tests/support/LogReader.h"
#include "tests/support/SettingsStore.h"
#include "tests/support/SyncInstallation.h"
#include "tests/support/WebServiceDouble.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>
#include <QThread>

#include <chrono>
#include <functional>
#include <future>
#include <iterator>

using testsupport::EntriesContaining;
using testsupport::LogEntry;
using namespace std::chrono;

namespace {

const QString kDesktopName = QStringLiteral("Front desk");

// Far above what an abandoned exchange takes on a loaded machine, and far below the three
// minutes a held exchange would otherwise last.
constexpr seconds kGenerousBound{30};

class WebServiceCallerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(service_.Started()) << service_.Error().toStdString();
    SetSyncStatusCopy(1);  // the program runs: nothing asks the exchanges to stop
    synctest::PrepareInstallation();
    Configure(service_.Url(), kDesktopName);
    StoreProxy(0, QString(), QString());
  }

  // The settings the program loads at start: address and desktop name.
  static void Configure(const QString& url, const QString& desktopName) {
    SyncInfo sync;
    sync.webServiceUrl = url.toUtf8();
    DeskInfo desk;
    desk.desktopName = desktopName.toUtf8();
    desk.deviceId = "device-1";
    synctest::StoreSealedRecord(QStringLiteral("SyncInfo"), sync.ToBytes());
    synctest::StoreSealedRecord(QStringLiteral("DeskInfo"), desk.ToBytes());
    LoadSyncSettings();
  }

  void StoreProxy(int32_t useProxy, const QString& user, const QString& password) {
    ConnSettings settings;
    settings.proxyServer = "127.0.0.1";
    settings.proxyPort = service_.Port();
    settings.proxyUser = user.toUtf8();
    settings.proxyPassword = password.toUtf8();
    settings.useProxy = useProxy;
    ASSERT_TRUE(
        testsupport::StoreSealedValue(registrynames::kSettingsKey, QStringLiteral("ConnSettings"), settings.ToBytes()));
  }

  QList<LogEntry> Log(const QString& file) const {
    return testsupport::ReadLogEntries(synctest::TodaysLogFolder() + QLatin1Char('/') + file);
  }
  QList<LogEntry> SyncLog() const { return Log(QStringLiteral("SyncServiceLog.log")); }
  QList<LogEntry> BackSyncLog() const { return Log(QStringLiteral("SyncServiceBackSyncLog.log")); }

  static QList<int> Codes(const QList<LogEntry>& entries, const QString& part) {
    QList<int> codes;
    for (const LogEntry& entry : EntriesContaining(entries, part)) codes.append(entry.code);
    return codes;
  }

  QJsonObject LastReceived() {
    const QJsonArray received = service_.Received();
    return received.isEmpty() ? QJsonObject() : received.last().toObject();
  }

  static QByteArray Plain(const QJsonObject& record) {
    return QByteArray::fromBase64(record[QStringLiteral("plain")].toString().toLatin1());
  }

  testsupport::WebServiceDouble service_;
  CWebServiceCaller caller_;
};

TEST_F(WebServiceCallerTest, SendDataSealsTheMessageForTheService) {
  const QByteArray message("\x01\x00\x07\x00\x00\x00payload", 12);
  ASSERT_TRUE(caller_.SendData(message));
  const QJsonObject record = LastReceived();
  EXPECT_EQ(record[QStringLiteral("operation")].toString(), QStringLiteral("SendData"));
  EXPECT_EQ(record[QStringLiteral("desktopId")].toString(), kDesktopName);
  EXPECT_TRUE(record[QStringLiteral("error")].isNull()) << record[QStringLiteral("error")].toString().toStdString();
  EXPECT_EQ(Plain(record), message);
  const QList<LogEntry> log = SyncLog();
  EXPECT_EQ(Codes(log, QStringLiteral("In Send Data, OLength : 12.")), QList<int>{208});
  EXPECT_EQ(Codes(log, QStringLiteral("In Send Data, ELength : 32.")), QList<int>{207});
  EXPECT_EQ(Codes(log, QStringLiteral("In Send Data, B64Length : 112.")), QList<int>{177});
  EXPECT_EQ(Codes(log, QStringLiteral("CHttpFile::SendRequest() Success.")), QList<int>{-1});
  EXPECT_EQ(Codes(log, QStringLiteral("In SendData, Send Request Result : true")), QList<int>{124});
}

// The double's device side decodes what SendData carries and keeps it as a device would.
TEST_F(WebServiceCallerTest, TheDeviceHoldsWhatSendDataCarries) {
  const QByteArray ab = QByteArray::fromHex("0002" "61006200" "0000");
  service_.SeedProfile(5, {1}, {{1, 1, ab}});
  const QByteArray addedAsIndex2 = QByteArray::fromHex("0300" "05000000" "14000000" "01000000" "02000000" "00000000") + ab;
  const QByteArray deletedIndex1 = QByteArray::fromHex("0500" "05000000" "01000000" "01000000");
  ASSERT_TRUE(caller_.SendData(addedAsIndex2 + deletedIndex1));
  EXPECT_TRUE(service_.DeviceErrors().isEmpty()) << service_.DeviceErrors().join(u'\n').toStdString();
  const QJsonArray records = service_.Device()[QStringLiteral("profiles")][QStringLiteral("5")][QStringLiteral("records")].toArray();
  ASSERT_EQ(records.size(), 1);
  EXPECT_EQ(records[0][QStringLiteral("index")].toInt(), 2);
  EXPECT_EQ(records[0][QStringLiteral("values")][0].toString(), QStringLiteral("ab"));

  // A delete of a record the device does not hold is done already: the desktop sends it for an
  // add whose answer never came.
  ASSERT_TRUE(caller_.SendData(deletedIndex1));
  EXPECT_TRUE(service_.DeviceErrors().isEmpty());
  EXPECT_EQ(service_.Device()[QStringLiteral("profiles")][QStringLiteral("5")][QStringLiteral("records")].toArray().size(), 1);
}

TEST_F(WebServiceCallerTest, AckFromDesktopGoesToTheBackSyncLog) {
  const QByteArray ack = QByteArray("\x07\x00\x00\x00\x01\x00\x00\x00\x19\x00\x00\x00\x01\x00\x0c\x00", 16) +
                         QByteArray("S\0y\0n\0c\0e\0d\0", 12);
  ASSERT_TRUE(caller_.AckFromDesktop(ack));
  EXPECT_EQ(LastReceived()[QStringLiteral("operation")].toString(), QStringLiteral("AckFromDesktop"));
  EXPECT_EQ(Plain(LastReceived()), ack);
  const QList<LogEntry> log = BackSyncLog();
  EXPECT_EQ(Codes(log, QStringLiteral("In AckFromDesktop, OLength : 28.")), QList<int>{92});
  EXPECT_EQ(Codes(log, QStringLiteral("In AckFromDesktop, ELength : 48.")), QList<int>{84});
  EXPECT_EQ(Codes(log, QStringLiteral("In AckFromDesktop, B64Length : 132.")), QList<int>{94});
  EXPECT_EQ(Codes(log, QStringLiteral("In AckFromDesktop, Send Request Result : true")), QList<int>{64});
  EXPECT_TRUE(SyncLog().isEmpty());
}

TEST_F(WebServiceCallerTest, TheDesktopNameTravelsAsEscapedUtf8) {
  const QString name = QString::fromUtf8("R&D <Caf\xC3\xA9> \"Nord\" 'West'");
  Configure(service_.Url(), name);
  ASSERT_TRUE(caller_.SendData(QByteArray("x")));
  EXPECT_EQ(LastReceived()[QStringLiteral("desktopId")].toString(), name);
}

TEST_F(WebServiceCallerTest, GetDataForDesktopOpensWhatTheServiceSealed) {
  const QByteArray stream = QByteArray("\x01\x05\x00", 3) + QByteArray("\x07\x00\x00\x00\x01\x00\x00\x00\x02\x00\x00\x00", 12) +
                            QByteArray("\x00\x00", 2);
  service_.QueueStream(stream);
  QByteArray plain;
  ASSERT_TRUE(caller_.GetDataForDesktop(&plain));
  EXPECT_EQ(plain.size(), 32);
  EXPECT_EQ(plain.left(stream.size()), stream);
  const QList<LogEntry> log = BackSyncLog();
  EXPECT_EQ(Codes(log, QStringLiteral("In GetDataForDesktop, B64Length : 112.")), QList<int>{89});
  EXPECT_EQ(Codes(log, QStringLiteral("In GetDataForDesktop, DLength : 82.")), QList<int>{90});
  EXPECT_EQ(Codes(log, QStringLiteral("In GetDataForDesktop, Result : ")), QList<int>{47});

  // Nothing queued: an empty stream.
  ASSERT_TRUE(caller_.GetDataForDesktop(&plain));
  EXPECT_EQ(plain, QByteArray("\x01\x00\x00", 3) + QByteArray(13, '\0'));
}

TEST_F(WebServiceCallerTest, AnIncomingTextThatIsNoEnvelopeIsRefused) {
  QByteArray head(50, '\x11');
  head[32] = 0;
  head[33] = 0;
  QByteArray badIndex = head + QByteArray(16, '\x22');
  badIndex[32] = 15;
  const QString cases[] = {
      QString(),                                                        // empty result element text
      QString::fromLatin1(head.left(49).toBase64()),                    // 49 bytes
      QString::fromLatin1(head.toBase64()),                             // a head without ciphertext
      QString::fromLatin1(badIndex.toBase64()),                         // key index 15
      QString::fromLatin1((head + QByteArray(20, '\x22')).toBase64()),  // ciphertext of 20 bytes
      QStringLiteral("***not base64***"),
  };
  for (const QString& text : cases) {
    service_.QueueRaw(text);
    QByteArray plain("untouched");
    EXPECT_FALSE(caller_.GetDataForDesktop(&plain)) << text.toStdString();
    EXPECT_EQ(plain, QByteArray("untouched"));
  }
  EXPECT_FALSE(EntriesContaining(BackSyncLog(), QStringLiteral("In GetDataForDesktop, no envelope : ")).isEmpty());
}

// Every way the service can answer SendData and AckFromDesktop, with the exchange code and the
// coded lines it leaves.
TEST_F(WebServiceCallerTest, ServiceAnswersMapToExchangeCodesAndLines) {
  struct Case {
    QString kind;
    QJsonObject extra;
    int code;
    QList<int> sendCodes;  // codes of SendDataOverHTTP's lines that must be there
    QList<int> ackCodes;
    QList<int> absent;     // SendData codes that must not be there
  };
  const QJsonObject reason{{QStringLiteral("reason"), QStringLiteral("Quota exceeded")}};
  const Case cases[] = {
      {QStringLiteral("none"), {}, 1, {124}, {64}, {125}},
      {QStringLiteral("http500"), reason, -1, {127, 128, 129, 130, 131}, {67, 68, 69, 70, 71}, {124, 125}},
      {QStringLiteral("status"), {{QStringLiteral("status"), 404}}, -1, {127, 131}, {67, 71}, {124}},
      {QStringLiteral("soapFault"), reason, -1, {125}, {65}, {124}},
      {QStringLiteral("soap12Fault"), reason, -1, {125}, {65}, {124}},
      {QStringLiteral("noResult"), {}, -1, {}, {}, {124, 125}},
      {QStringLiteral("emptyResult"), {}, 1, {}, {}, {124, 125}},
      {QStringLiteral("unclosedResult"), {}, 1, {}, {}, {124, 125}},
      {QStringLiteral("result"), {{QStringLiteral("text"), QStringLiteral("False")}}, -1, {124}, {64}, {125}},
      {QStringLiteral("result"), {{QStringLiteral("text"), QStringLiteral("done")}}, 1, {124}, {64}, {125}},
      {QStringLiteral("delay"), {{QStringLiteral("seconds"), 1}}, 1, {124}, {64}, {}},
      {QStringLiteral("drop"), {}, -41, {122, 123}, {62, 63}, {124}},
  };
  const QByteArray payload = service_.Seal(QStringLiteral("WEBSERVICE"), QByteArray("m"), true).toLatin1();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind.toStdString() + " " + c.extra.value(QStringLiteral("text")).toString().toStdString());
    service_.Command({{QStringLiteral("cmd"), QStringLiteral("reset")}});
    service_.SetFault(QStringLiteral("SendData"), c.kind, c.extra);
    service_.SetFault(QStringLiteral("AckFromDesktop"), c.kind, c.extra);
    const qsizetype syncBefore = SyncLog().size();
    const qsizetype backBefore = BackSyncLog().size();
    EXPECT_EQ(caller_.SendDataOverHTTP(payload), c.code);
    EXPECT_EQ(caller_.AckFromDesktopOverHTTP(payload), c.code);
    EXPECT_EQ(caller_.SendData(QByteArray("m")), c.code == 1);
    QList<int> sendCodes, ackCodes;
    for (const LogEntry& entry : SyncLog().mid(syncBefore)) sendCodes.append(entry.code);
    for (const LogEntry& entry : BackSyncLog().mid(backBefore)) ackCodes.append(entry.code);
    for (const int code : c.sendCodes) EXPECT_TRUE(sendCodes.contains(code)) << code;
    for (const int code : c.ackCodes) EXPECT_TRUE(ackCodes.contains(code)) << code;
    for (const int code : c.absent) EXPECT_FALSE(sendCodes.contains(code)) << code;
  }
  const QList<LogEntry> log = SyncLog();
  EXPECT_EQ(Codes(log, QStringLiteral("In SendData, Send Request Result : Quota exceeded")), (QList<int>{125, 125, 125, 125}));
  EXPECT_FALSE(Codes(log, QStringLiteral("In SendData, Send Request Result : False")).isEmpty());
}

TEST_F(WebServiceCallerTest, GetDataForDesktopWantsAnOpenedResultElement) {
  struct Case {
    QString kind;
    int code;
  };
  for (const Case& c : {Case{QStringLiteral("emptyResult"), -1}, Case{QStringLiteral("noResult"), -1},
                        Case{QStringLiteral("soapFault"), -1}, Case{QStringLiteral("unclosedResult"), 1},
                        Case{QStringLiteral("http500"), -1}}) {
    service_.SetFault(QStringLiteral("GetDataForDesktop"), c.kind);
    QString text = QStringLiteral("before");
    EXPECT_EQ(caller_.GetDataForDesktopFromHTTP(&text), c.code) << c.kind.toStdString();
    QByteArray plain;
    EXPECT_FALSE(caller_.GetDataForDesktop(&plain)) << c.kind.toStdString();
  }
  // Faults are not searched for in this operation: the reason never stands alone.
  for (const LogEntry& entry : BackSyncLog()) {
    EXPECT_NE(entry.text, QStringLiteral("In GetDataForDesktop, Result : Server error"));
  }
}

TEST_F(WebServiceCallerTest, StoredSettingsThatCannotBeUsedStopBeforeTheExchange) {
  Configure(QString(), kDesktopName);
  EXPECT_EQ(caller_.SendDataOverHTTP("AAAA"), -1);
  QString text;
  EXPECT_EQ(caller_.GetDataForDesktopFromHTTP(&text), -1);
  EXPECT_EQ(caller_.AckFromDesktopOverHTTP("AAAA"), -1);
  EXPECT_EQ(Codes(SyncLog(), QStringLiteral("<InternetCrackUrl> Error Code : ")), QList<int>{-13});
  EXPECT_EQ(Codes(BackSyncLog(), QStringLiteral("<InternetCrackUrl> Error Code : ")), (QList<int>{-14, -15}));

  Configure(service_.Url(), kDesktopName);
  ASSERT_TRUE(
      testsupport::StoreSealedValue(registrynames::kSettingsKey, QStringLiteral("ConnSettings"), QByteArray(10, 'x')));
  EXPECT_EQ(caller_.SendDataOverHTTP("AAAA"), -1);
  EXPECT_EQ(Codes(SyncLog(), QStringLiteral("<SendDataOverHTTP> Problem in Connection Settings.")), QList<int>{-1});
  EXPECT_TRUE(service_.Requests().isEmpty());
}

TEST_F(WebServiceCallerTest, TheProxyGetsItsOwnCredentials) {
  service_.DemandProxyCredentials(QStringLiteral("pat"), QStringLiteral("s3cret"));
  Configure(QStringLiteral("http://webservice.invalid/svc/"), kDesktopName);
  StoreProxy(1, QStringLiteral("pat"), QStringLiteral("s3cret"));
  EXPECT_TRUE(caller_.SendData(QByteArray("via proxy")));
  EXPECT_EQ(Plain(LastReceived()), QByteArray("via proxy"));
  EXPECT_EQ(Codes(SyncLog(), QStringLiteral("<SendDataOverHTTP> Proxy Connection Settings are Enabled.")), QList<int>{-1});

  StoreProxy(1, QStringLiteral("pat"), QStringLiteral("wrong"));
  EXPECT_EQ(caller_.SendDataOverHTTP("AAAA"), -1);
  EXPECT_EQ(Codes(SyncLog(), QStringLiteral("CHttpFile::QueryInfoStatusCode() status : 407")), QList<int>{127});

  // Any flag but 1: straight to the service, without user name.
  Configure(service_.Url(), kDesktopName);
  StoreProxy(2, QStringLiteral("pat"), QStringLiteral("s3cret"));
  EXPECT_EQ(caller_.SendDataOverHTTP("AAAA"), -1);  // the service refuses the payload, but answers
  EXPECT_FALSE(service_.Requests().last()[QStringLiteral("proxied")].toBool());
}

// The request bytes exactly as the service receives them.
TEST_F(WebServiceCallerTest, RequestBytesAreExact) {
  const QString prologue = QStringLiteral(
      "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
      "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
      "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">  <soap:Body>    ");
  const QString payload = service_.Seal(QStringLiteral("WEBSERVICE"), QByteArray("abc"), true);
  ASSERT_EQ(syncservice::GetDataTestWebServiceMethod(), 1);
  ASSERT_EQ(caller_.SendDataOverHTTP(payload.toLatin1()), 1);
  QString result;
  ASSERT_EQ(caller_.GetDataForDesktopFromHTTP(&result), 1);
  ASSERT_EQ(caller_.AckFromDesktopOverHTTP(payload.toLatin1()), 1);
  const QJsonArray requests = service_.Requests();
  const QString bodies[] = {
      prologue + QStringLiteral("<GetDataTest xmlns=\"Tarnwick\"/>  </soap:Body></soap:Envelope>"),
      prologue + QStringLiteral("<SendData xmlns=\"Tarnwick\">  <DesktopID>Front desk</DesktopID><DataBuffer>") +
          payload + QStringLiteral("</DataBuffer></SendData>  </soap:Body></soap:Envelope>"),
      prologue + QStringLiteral("<GetDataForDesktop xmlns=\"Tarnwick\" >  <DesktopID>Front desk</DesktopID>"
                                "</GetDataForDesktop> </soap:Body></soap:Envelope>"),
      prologue + QStringLiteral("<AckFromDesktop xmlns=\"Tarnwick\">   <DesktopID>Front desk</DesktopID><DataBuffer>") +
          payload + QStringLiteral("</DataBuffer></AckFromDesktop>  </soap:Body></soap:Envelope>"),
  };
  ASSERT_EQ(requests.size(), static_cast<qsizetype>(std::size(bodies)));
  for (qsizetype i = 0; i < requests.size(); ++i) {
    const QJsonObject request = requests[i].toObject();
    EXPECT_EQ(request[QStringLiteral("requestLine")].toString(), QStringLiteral("POST /svc/service.asmx HTTP/1.1"));
    const QByteArray body = QByteArray::fromBase64(request[QStringLiteral("body")].toString().toLatin1());
    EXPECT_EQ(QString::fromUtf8(body), bodies[i]);
    QStringList names;
    for (const QJsonValue& header : request[QStringLiteral("headers")].toArray()) {
      const QString name = header[0].toString();
      names.append(name.toLower());
      if (name == QStringLiteral("Content-Type")) {
        EXPECT_EQ(header[1].toString(), QStringLiteral("text/xml; charset=utf-8; Content-Length: %1").arg(body.size()));
      }
      if (name == QStringLiteral("Content-Length")) {
        EXPECT_EQ(header[1].toString().toInt(), body.size());
      }
    }
    EXPECT_TRUE(names.contains(QStringLiteral("content-type")));
    EXPECT_TRUE(names.contains(QStringLiteral("content-length")));
    for (const char* absent : {"expect", "soapaction", "accept", "authorization"}) {
      EXPECT_FALSE(names.contains(QString::fromLatin1(absent))) << absent;
    }
  }
}

TEST_F(WebServiceCallerTest, StartUpTestLogsEverythingWithMinusOne) {
  EXPECT_EQ(syncservice::GetDataTestWebServiceMethod(), 1);
  EXPECT_EQ(Codes(SyncLog(), QStringLiteral("<GetDataTestWebServiceMethod> Test Web Service Connection.")), QList<int>{-1});
  EXPECT_EQ(Codes(SyncLog(), QStringLiteral("In TestWebService, Send Request Result : ok")), QList<int>{-1});
  EXPECT_TRUE(EntriesContaining(SyncLog(), QStringLiteral("Success.")).isEmpty());

  service_.SetFault(QStringLiteral("GetDataTest"), QStringLiteral("soapFault"), {{QStringLiteral("reason"), QStringLiteral("Maintenance")}});
  EXPECT_EQ(syncservice::GetDataTestWebServiceMethod(), 1);
  EXPECT_EQ(Codes(SyncLog(), QStringLiteral("In GetDataTestWebServiceMethod, Send Request Result : Maintenance")),
            QList<int>{-1});

  service_.SetFault(QStringLiteral("GetDataTest"), QStringLiteral("status"), {{QStringLiteral("status"), 404}});
  const qsizetype before = SyncLog().size();
  EXPECT_EQ(syncservice::GetDataTestWebServiceMethod(), -1);
  const QList<LogEntry> added = SyncLog().mid(before);
  ASSERT_EQ(added.size(), 6);
  for (const LogEntry& entry : added) EXPECT_EQ(entry.code, -1);
  EXPECT_EQ(added[1].text, QStringLiteral("CHttpFile::QueryInfoStatusCode() status : 404"));

  service_.SetFault(QStringLiteral("GetDataTest"), QStringLiteral("drop"));
  EXPECT_EQ(syncservice::GetDataTestWebServiceMethod(), -41);
  EXPECT_EQ(Codes(SyncLog(), QStringLiteral("Exception in CHttpFile::SendRequest() call.")), QList<int>{-1});

  Configure(QString(), kDesktopName);
  EXPECT_EQ(syncservice::GetDataTestWebServiceMethod(), -1);
  EXPECT_EQ(Codes(SyncLog(), QStringLiteral("<InternetCrackUrl> Error Code : ")), QList<int>{-1});
}

TEST_F(WebServiceCallerTest, AnHttpsAddressIsSpokenToInTlsWithTheCertificateVerified) {
  testsupport::WebServiceDouble trusted(testsupport::DoubleTransport::Tls);
  testsupport::WebServiceDouble selfSigned(testsupport::DoubleTransport::TlsSelfSigned);
  ASSERT_TRUE(trusted.Started() && selfSigned.Started()) << selfSigned.Error().toStdString();
  const testsupport::TrustedTestAuthority authority(trusted.AuthorityFile());

  Configure(trusted.Url(), kDesktopName);
  EXPECT_TRUE(caller_.SendData(QByteArray("sealed and encrypted")));
  EXPECT_EQ(Plain(trusted.Received().last().toObject()), QByteArray("sealed and encrypted"));

  Configure(selfSigned.Url(), kDesktopName);
  EXPECT_EQ(caller_.SendDataOverHTTP("AAAA"), -41);
  const QList<LogEntry> reasons = EntriesContaining(SyncLog(), QStringLiteral("self-signed certificate"));
  ASSERT_EQ(reasons.size(), 1);
  EXPECT_EQ(reasons[0].code, 123) << "the exception's message line of the send step";
  EXPECT_TRUE(selfSigned.Requests().isEmpty());
}

// A stop while the service holds an exchange open: the start-up test (which runs before the
// control loop keeps the copy, so it reads the stored switch) is abandoned, as is a data exchange
// whose request never got on the wire. A data exchange whose request went out may have been acted
// on: it runs to its answer.
TEST_F(WebServiceCallerTest, AStopAbandonsOnlyExchangesTheServiceCannotHaveActedOn) {
  const uint16_t stalledPort = service_.StalledPort();
  ASSERT_NE(stalledPort, 0);
  struct Case {
    const char* name;
    std::function<void()> prepare;
    std::function<int()> exchange;
    std::function<void()> stop;
    int code;
    int abandonedLineCode;  // 0: the exchange is not abandoned
  };
  const auto stopCopy = [] { SetSyncStatusCopy(0); };
  const Case cases[] = {
      {"SendData held", [this] { service_.SetFault(QStringLiteral("SendData"), QStringLiteral("holdAnswer"), {{QStringLiteral("seconds"), 2}}); },
       [this] { return caller_.SendData(QByteArray("held")) ? 1 : 0; }, stopCopy, 1, 0},
      {"GetDataForDesktop held",
       [this] { service_.SetFault(QStringLiteral("GetDataForDesktop"), QStringLiteral("holdAnswer"), {{QStringLiteral("seconds"), 2}}); },
       [this] {
         QString result;
         return caller_.GetDataForDesktopFromHTTP(&result);
       },
       stopCopy, 1, 0},
      {"SendData never connected", [stalledPort] { Configure(QStringLiteral("http://127.0.0.1:%1/svc/").arg(stalledPort), kDesktopName); },
       [this] { return caller_.SendDataOverHTTP("AAAA"); }, stopCopy, -41, 123},
      {"GetDataTest silent", [this] { service_.SetFault(QStringLiteral("GetDataTest"), QStringLiteral("silent")); },
       [] { return syncservice::GetDataTestWebServiceMethod(); },
       [] { synctest::SetSettingsDword(QStringLiteral("SyncServiceStatus"), 0); }, -41, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    service_.Command({{QStringLiteral("cmd"), QStringLiteral("reset")}});
    Configure(service_.Url(), kDesktopName);
    c.prepare();
    SetSyncStatusCopy(1);
    synctest::SetSettingsDword(QStringLiteral("SyncServiceStatus"), 1);
    const qsizetype syncLogged = SyncLog().size();
    const qsizetype backSyncLogged = BackSyncLog().size();
    const auto started = steady_clock::now();
    auto exchange = std::async(std::launch::async, c.exchange);
    // Until the request arrived, or (for a port that never answers) the attempt is under way.
    for (int i = 0; i < 100 && service_.Requests().isEmpty(); ++i) QThread::msleep(10);
    c.stop();
    ASSERT_EQ(exchange.wait_for(kGenerousBound), std::future_status::ready);
    EXPECT_EQ(exchange.get(), c.code);
    const QList<int> abandoned = Codes(SyncLog().mid(syncLogged) + BackSyncLog().mid(backSyncLogged),
                                       QStringLiteral("The exchange was abandoned."));
    EXPECT_EQ(abandoned, c.abandonedLineCode == 0 ? QList<int>() : QList<int>{c.abandonedLineCode});
    if (c.code == 1) {
      EXPECT_GE(steady_clock::now() - started, seconds(2)) << "ended by its answer";
    }
  }
}

}  // namespace
