#include "platform/Internet.h"
#include "tests/support/WebServiceDouble.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QJsonArray>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using platform::CachePolicy;
using platform::HttpFile;
using platform::HttpInfo;
using platform::InternetException;
using platform::InternetSession;

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

  // A loopback port nobody listens on: bound once by the system's choice, then released.
  static uint16_t ClosedPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), size);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    close(fd);
    return ntohs(address.sin_port);
  }

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
  auto file = session.GetHttpConnection(QStringLiteral("127.0.0.1"), service_.Port(), QString(), QString())
                  ->OpenRequest(QStringLiteral("GET"), QStringLiteral("/svc/service.asmx/GetDataTest"));
  EXPECT_THROW(file->SendRequest(QByteArray(), QByteArray()), InternetException);
  EXPECT_EQ(file->GetLength(), 0);
}

TEST_F(InternetTest, ADroppedOrRefusedExchangeThrowsFromSendRequest) {
  service_.SetFault(QStringLiteral("GetDataTest"), QStringLiteral("drop"));
  for (const uint16_t port : {service_.Port(), ClosedPort()}) {
    const InternetSession session;
    auto file = session.GetHttpConnection(QStringLiteral("127.0.0.1"), port, QString(), QString())
                    ->OpenRequest(QStringLiteral("GET"), QStringLiteral("/svc/service.asmx/GetDataTest"));
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

TEST_F(InternetTest, ASilentServerEndsTheExchangeAfterTheReceiveTimeOut) {
  service_.SetFault(QStringLiteral("GetDataTest"), QStringLiteral("delay"), {{QStringLiteral("seconds"), 6}});
  InternetSession session;
  session.SetReceiveTimeout(1000);
  auto file = session.GetHttpConnection(QStringLiteral("127.0.0.1"), service_.Port(), QString(), QString())
                  ->OpenRequest(QStringLiteral("GET"), QStringLiteral("/svc/service.asmx/GetDataTest"));
  QElapsedTimer timer;
  timer.start();
  EXPECT_THROW(file->SendRequest(QByteArray(), QByteArray()), InternetException);
  EXPECT_LT(timer.elapsed(), 5000);
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

}  // namespace
