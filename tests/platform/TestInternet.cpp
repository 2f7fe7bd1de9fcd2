#include "platform/os/Internet.h"
#include "tests/support/WebServiceDouble.h"

#include "tests/support/Eventually.h"

#include <gtest/gtest.h>

#include <QJsonArray>

#include <atomic>
#include <chrono>
#include <future>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace std::chrono;

namespace {

// Far above what any of these exchanges takes on a loaded machine, and far below the limits a
// fault would leave them to.
constexpr seconds kGenerousBound{30};

using platform::CachePolicy;
using testsupport::Eventually;
using platform::HttpFile;
using platform::HttpInfo;
using platform::InternetException;
using platform::InternetSession;
using platform::Transport;

// A GET of the connection-test path on the loopback `port`, not sent yet.
std::unique_ptr<HttpFile> Open(const InternetSession& session, uint16_t port,
                               Transport transport = Transport::Plain) {
  return session.GetHttpConnection(QStringLiteral("127.0.0.1"), port, QString(), QString())
      ->OpenRequest(QStringLiteral("GET"), QStringLiteral("/svc/service.asmx/GetDataTest"), CachePolicy::Normal,
                    transport);
}

class InternetTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(service_.Started()) << service_.Error().toStdString(); }

  // GET of the connection-test path through `session` to `server`.
  std::unique_ptr<HttpFile> Get(const InternetSession& session, const QString& server, uint16_t port) {
    auto connection = session.GetHttpConnection(server, port, QString(), QString());
    auto file = connection->OpenRequest(QStringLiteral("GET"),
                                        QStringLiteral("/svc/service.asmx/GetDataTest"),
                                        CachePolicy::Reload);
    EXPECT_TRUE(file->SendRequest(QByteArray(), QByteArray()));
    return file;
  }

  static uint16_t ClosedPort() { return testsupport::ClosedLoopbackPort(); }

  static QByteArray ReadAll(HttpFile* file) {
    QByteArray all;
    char chunk[17];
    for (qint64 n; (n = file->Read(chunk, 16)) > 0;) all.append(chunk, n);
    return all;
  }

  testsupport::WebServiceDouble service_;
};

TEST_F(InternetTest, AnswerStatusHeadAndBodyAreAvailableAfterSending) {
  const InternetSession session;
  auto file = Get(session, QStringLiteral("127.0.0.1"), service_.Port());
  uint32_t status = 0;
  ASSERT_TRUE(file->QueryInfoStatusCode(&status));
  EXPECT_EQ(status, 200u);
  QString text;
  ASSERT_TRUE(file->QueryInfo(HttpInfo::StatusText, &text));
  EXPECT_EQ(text, QStringLiteral("OK"));
  ASSERT_TRUE(file->QueryInfo(HttpInfo::RawHeaders, &text));
  EXPECT_TRUE(text.startsWith(QStringLiteral("HTTP/1.1 200 OK\r\n"))) << text.toStdString();
  EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n")));
  QString length;
  ASSERT_TRUE(file->QueryInfo(HttpInfo::ContentLength, &length));
  EXPECT_EQ(file->GetLength(), length.toLongLong());
  const QByteArray body = ReadAll(file.get());
  EXPECT_TRUE(body.contains("<string xmlns=\"Tarnwick\">ok</string>")) << body.toStdString();
  EXPECT_EQ(file->GetLength(), 0);
}

TEST_F(InternetTest, AChunkedAnswerHasNoLengthButIsReadWhole) {
  service_.SetFault(QStringLiteral("GetDataTest"), QStringLiteral("chunked"));
  const InternetSession session;
  auto file = Get(session, QStringLiteral("127.0.0.1"), service_.Port());
  QString length;
  EXPECT_FALSE(file->QueryInfo(HttpInfo::ContentLength, &length));
  EXPECT_EQ(file->LastError(), platform::kErrorHttpHeaderNotFound);
  EXPECT_TRUE(ReadAll(file.get()).endsWith("<string xmlns=\"Tarnwick\">ok</string>"));
}

TEST_F(InternetTest, AnAnswerPastTheLimitFailsTheExchange) {
  service_.SetFault(QStringLiteral("GetDataTest"), QStringLiteral("oversize"),
                    {{QStringLiteral("bytes"), static_cast<double>(platform::kMaxAnswerBytes + 1)}});
  const InternetSession session;
  auto file = Open(session, service_.Port());
  EXPECT_THROW(file->SendRequest(QByteArray(), QByteArray()), InternetException);
  EXPECT_EQ(file->GetLength(), 0);
}

TEST_F(InternetTest, ADroppedOrRefusedExchangeThrowsFromSendRequest) {
  service_.SetFault(QStringLiteral("GetDataTest"), QStringLiteral("drop"));
  for (const uint16_t port : {service_.Port(), ClosedPort()}) {
    const InternetSession session;
    auto file = Open(session, port);
    try {
      file->SendRequest(QByteArray(), QByteArray());
      ADD_FAILURE() << "no exception for port " << port;
    } catch (const InternetException& e) {
      EXPECT_FALSE(e.ErrorMessage().isEmpty());
      EXPECT_LE(e.ErrorMessage().size(), 1023);
    }
    uint32_t status = 0;
    EXPECT_FALSE(file->QueryInfoStatusCode(&status));
  }
}

// Servers that hold an exchange open: one that trickles its answer (each byte well within any
// gap a per-byte time-out would allow) and one that never answers.
const char* const kHoldingKinds[] = {"trickle", "silent"};

TEST_F(InternetTest, TheReceiveTimeOutBoundsTheWholeExchange) {
  for (const char* kind : kHoldingKinds) {
    SCOPED_TRACE(kind);
    service_.SetFault(QStringLiteral("GetDataTest"), QString::fromLatin1(kind));
    InternetSession session;
    session.SetReceiveTimeout(1000);
    auto file = Open(session, service_.Port());
    const steady_clock::time_point start = steady_clock::now();
    try {
      file->SendRequest(QByteArray(), QByteArray());
      ADD_FAILURE() << "the exchange went through";
    } catch (const InternetException& e) {
      EXPECT_TRUE(e.ErrorMessage().contains(u"Timeout was reached")) << e.ErrorMessage().toStdString();
    }
    EXPECT_LT(steady_clock::now() - start, kGenerousBound);
  }
}

// The check turns true only once the exchange is under way: the request has reached the server
// (or, for the stalled port, the check has been asked while the connection waits).
TEST_F(InternetTest, AnExchangeEndsSoonAfterItsAbandonCheckSaysSo) {
  struct Case {
    const char* kind;
    bool reachesServer;
  };
  const uint16_t stalledPort = service_.StalledPort();
  ASSERT_NE(stalledPort, 0);
  for (const Case& c : {Case{"trickle", true}, Case{"silent", true}, Case{"stalled", false}}) {
    SCOPED_TRACE(c.kind);
    service_.Command({{QStringLiteral("cmd"), QStringLiteral("reset")}});
    if (c.reachesServer) service_.SetFault(QStringLiteral("GetDataTest"), QString::fromLatin1(c.kind));
    std::atomic<int> asked{0};
    std::atomic<bool> abandon{false};
    InternetSession session;
    session.SetAbandonCheck([&] {
      ++asked;
      return abandon.load();
    });
    auto file = Open(session, c.reachesServer ? service_.Port() : stalledPort);
    auto exchange = std::async(std::launch::async, [&] {
      try {
        file->SendRequest(QByteArray(), QByteArray());
      } catch (const InternetException& e) {
        return e.ErrorMessage();
      }
      return QStringLiteral("went through");
    });
    EXPECT_TRUE(Eventually([&] { return asked.load() >= 2 && (!c.reachesServer || !service_.Requests().isEmpty()); }, kGenerousBound));
    abandon = true;
    ASSERT_EQ(exchange.wait_for(kGenerousBound), std::future_status::ready);
    EXPECT_EQ(exchange.get(), QStringLiteral("The exchange was abandoned."));
  }
}

TEST_F(InternetTest, AnEmptyServerNameIsRefusedAtTheConnection) {
  const InternetSession session;
  EXPECT_THROW(session.GetHttpConnection(QString(), 80, QString(), QString()), InternetException);
}

TEST_F(InternetTest, ProxyCredentialsGoToTheProxyAndNotToTheServer) {
  service_.DemandProxyCredentials(QStringLiteral("pat"), QStringLiteral("s3cret"));
  const QString proxy = QStringLiteral("127.0.0.1:%1").arg(service_.Port());
  struct Case {
    QString password;
    uint32_t status;
  };
  for (const Case& c : {Case{QStringLiteral("s3cret"), 200u}, Case{QStringLiteral("wrong"), 407u}}) {
    // The host name only the proxy can resolve proves the request went through it.
    const InternetSession session(proxy, QStringLiteral("pat"), c.password);
    auto file = Get(session, QStringLiteral("webservice.invalid"), 80);
    uint32_t status = 0;
    ASSERT_TRUE(file->QueryInfoStatusCode(&status));
    EXPECT_EQ(status, c.status) << c.password.toStdString();
  }
  for (const QJsonValue& request : service_.Requests()) {
    EXPECT_TRUE(request[QStringLiteral("proxied")].toBool());
    for (const QJsonValue& header : request[QStringLiteral("headers")].toArray()) {
      EXPECT_NE(header[0].toString().toLower(), QStringLiteral("authorization"));
    }
  }
}

// What SendRequest says about a TLS exchange: "sent", or the exception's message.
QString SendOverTls(uint16_t port) {
  const InternetSession session;
  auto file = Open(session, port, Transport::Tls);
  try {
    file->SendRequest(QByteArray(), QByteArray());
  } catch (const InternetException& e) {
    return e.ErrorMessage();
  }
  uint32_t status = 0;
  return file->QueryInfoStatusCode(&status) && status == 200 ? QStringLiteral("sent") : QStringLiteral("no 200");
}

TEST(InternetTls, AServerWithATrustedCertificateIsSpokenToInTls) {
  testsupport::WebServiceDouble service(testsupport::DoubleTransport::Tls);
  ASSERT_TRUE(service.Started()) << service.Error().toStdString();
  {
    const testsupport::TrustedTestAuthority trusted(service.AuthorityFile());
    EXPECT_EQ(SendOverTls(service.Port()), QStringLiteral("sent"));
  }
  // The system's store alone does not know the test authority: verification is on.
  const QString refused = SendOverTls(service.Port());
  EXPECT_TRUE(refused.contains(u"unable to get local issuer certificate")) << refused.toStdString();
  EXPECT_EQ(service.Requests().size(), 1);
}

TEST(InternetTls, ASelfSignedCertificateFailsTheExchangeWithTheReason) {
  testsupport::WebServiceDouble authority(testsupport::DoubleTransport::Tls);
  testsupport::WebServiceDouble selfSigned(testsupport::DoubleTransport::TlsSelfSigned);
  ASSERT_TRUE(authority.Started() && selfSigned.Started()) << selfSigned.Error().toStdString();
  const testsupport::TrustedTestAuthority trusted(authority.AuthorityFile());
  const QString refused = SendOverTls(selfSigned.Port());
  EXPECT_TRUE(refused.contains(u"self-signed certificate")) << refused.toStdString();
  EXPECT_TRUE(selfSigned.Requests().isEmpty());
}

}  // namespace

// An https address goes through the proxy in a CONNECT tunnel: the proxy's 407 to the CONNECT is
// the answer's status, as for a plain request, and with the credentials the tunnel carries TLS.
TEST(InternetTls, AProxysRefusalOfTheTunnelIsA407Answer) {
  testsupport::WebServiceDouble target(testsupport::DoubleTransport::Tls);
  testsupport::WebServiceDouble proxy;
  ASSERT_TRUE(target.Started()) << target.Error().toStdString();
  ASSERT_TRUE(proxy.Started()) << proxy.Error().toStdString();
  proxy.DemandProxyCredentials(QStringLiteral("pat"), QStringLiteral("s3cret"), {QStringLiteral("CONNECT")});
  const testsupport::TrustedTestAuthority trusted(target.AuthorityFile());
  struct Case {
    QString password;
    uint32_t status;
  };
  for (const Case& c : {Case{QStringLiteral("wrong"), 407u}, Case{QStringLiteral("s3cret"), 200u}}) {
    const InternetSession session(QStringLiteral("127.0.0.1:%1").arg(proxy.Port()), QStringLiteral("pat"), c.password);
    auto file = Open(session, target.Port(), Transport::Tls);
    ASSERT_TRUE(file->SendRequest(QByteArray(), QByteArray())) << c.password.toStdString();
    uint32_t status = 0;
    ASSERT_TRUE(file->QueryInfoStatusCode(&status));
    EXPECT_EQ(status, c.status) << c.password.toStdString();
  }
  EXPECT_FALSE(proxy.Requests().isEmpty());
}
