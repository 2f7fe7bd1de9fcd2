#include "setup/common/HostedPagesClient.h"
#include "tests/setup/common/SetupFixture.h"

#include <QJsonArray>

namespace {

using setuptest::SetupServicesTest;

class HostedPagesTest : public SetupServicesTest {
 protected:
  CHostedPagesClient Client(bool viaProxy = false) {
    HostedPagesTarget target;
    target.host = QStringLiteral("127.0.0.1");
    target.port = web_.Port();
    if (viaProxy) {
      target.connection.useProxy = 1;
      target.connection.proxyServer = "127.0.0.1";
      target.connection.proxyPort = web_.Port();
      target.connection.proxyUser = "u";
      target.connection.proxyPassword = "p";
    }
    return CHostedPagesClient(target, Sink(), &progress_);
  }
  int Register(const QString& name, int deviceType = 2, bool viaProxy = false) {
    return Client(viaProxy).AddNewDesktopOnline(name, QString(), QStringLiteral("UDID1"), deviceType);
  }
  QString LastRequestLine() {
    const QJsonArray requests = web_.Requests();
    return requests.isEmpty() ? QString() : requests.last().toObject()[QStringLiteral("requestLine")].toString();
  }
};

TEST_F(HostedPagesTest, RegistrationNamesTheDeviceType) {
  const char* const words[] = {"", "BlackBerry", "iPhone", "PocketPC", ""};
  for (int type = 1; type <= 4; ++type) {
    SCOPED_TRACE(type);
    EXPECT_EQ(Register(QStringLiteral("desk%1").arg(type), type), 0);
    EXPECT_TRUE(LastRequestLine().endsWith(QStringLiteral("&DeviceType=%1 HTTP/1.1").arg(QLatin1String(words[type]))))
        << LastRequestLine().toStdString();
  }
  EXPECT_EQ(LastRequestLine(),
            QStringLiteral("GET /iPhoneSTarnwickPWPLite/AddNewDesktop.asp?DesktopName=desk4&DevicePassword=&DeviceID=UDID1"
                           "&DeviceType= HTTP/1.1"));
  EXPECT_TRUE(Logged(QStringLiteral("Customer added successfully")));
  EXPECT_TRUE(Boxes().isEmpty());
}

TEST_F(HostedPagesTest, ValuesArriveEncodedAndWhole) {
  const QString name = QStringLiteral("a&b c=d%é");
  EXPECT_EQ(Register(name), 0);
  EXPECT_TRUE(LastRequestLine().contains(QStringLiteral("DesktopName=a%26b%20c%3Dd%25%C3%A9&")));
  EXPECT_TRUE(web_.Pages().contains(name));
}

TEST_F(HostedPagesTest, ReplyWordsDecideTheOutcome) {
  struct Case {
    const char* reply;  // null: the double's own answer for a name it holds
    int code;
    QString line;
    QString box;
    unsigned icon;
  };
  const QString problem = QStringLiteral("Problem while installing Tarnwick Plus Lite, Please check internet connection");
  const Case cases[] = {
      {nullptr, -1, QStringLiteral("Customer already exists"), QStringLiteral("Computer ID already present, Please try another"),
       platform::MB_ICONWARNING},
      {"InvalidDesktopName then Success", 0, QStringLiteral("Customer added successfully"), {}, 0},
      {"InvalidDeviceID", -1, QStringLiteral("Device ID already exists"),
       QStringLiteral("Device ID is already in use, Please contact Morvant at support@morvant.example."), platform::MB_ICONWARNING},
      {"Maintenance", -1, QStringLiteral("Problm while adding user"), problem, platform::MB_ICONERROR},
  };
  web_.EnterDesktop(QStringLiteral("held"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reply ? c.reply : "held");
    lines_.clear();
    testsupport::MessageBoxRecorder::Global().Clear();
    if (c.reply) web_.SetFault(QStringLiteral("AddNewDesktop.asp"), QStringLiteral("result"), {{QStringLiteral("text"), QLatin1String(c.reply)}});
    EXPECT_EQ(Register(QStringLiteral("held")), c.code);
    EXPECT_TRUE(Logged(c.line));
    ASSERT_EQ(Boxes().size(), c.box.isEmpty() ? 0 : 1);
    if (c.box.isEmpty()) continue;
    EXPECT_EQ(Boxes()[0].text, c.box);
    EXPECT_EQ(Boxes()[0].caption, QStringLiteral("Tarnwick Plus Lite"));
    EXPECT_EQ(Boxes()[0].icon(), c.icon);
  }
}

TEST_F(HostedPagesTest, NoAnswerWithStatus200) {
  web_.SetFault(QStringLiteral("AddNewDesktop.asp"), QStringLiteral("status"),
                {{QStringLiteral("status"), 404}, {QStringLiteral("reasonPhrase"), QStringLiteral("Not Found")},
                 {QStringLiteral("text"), QStringLiteral("no page")}});
  EXPECT_EQ(Register(QStringLiteral("desk")), -2);
  EXPECT_TRUE(Logged(QStringLiteral("Problem in performing online activity <8><Not Found>.")));
  EXPECT_TRUE(Logged(QStringLiteral("Problem in performing online activity <8.1><no page>.")));
  EXPECT_TRUE(Logged(QStringLiteral("Responce <> 200")));
  const QString problem = QStringLiteral("Problem while installing Tarnwick Plus Lite, Please check internet connection");
  EXPECT_EQ(progress_.statusTexts_, QStringList{problem});
  ASSERT_EQ(Boxes().size(), 1);
  EXPECT_EQ(Boxes()[0].icon(), platform::MB_ICONERROR);
  // +10, then the fetch's +4, +8, +10 (no +10 of a read reply), then +10.
  EXPECT_EQ(progress_.steps_, (QList<int>{10, 4, 8, 10, 10}));
}

TEST_F(HostedPagesTest, FetchDirectAndThroughTheProxy) {
  QString reply;
  uint32_t status = 0;
  const QString path = CHostedPagesClient::AvailabilityPath(QStringLiteral("free"));
  EXPECT_EQ(Client().PerformOnlineActivity(path, &reply, &status), 1);
  EXPECT_EQ(reply, QStringLiteral("Valid"));
  EXPECT_EQ(progress_.steps_, (QList<int>{4, 8, 10, 10}));
  EXPECT_TRUE(Logged(QStringLiteral("Performing online activity.")));
  EXPECT_TRUE(Logged(QStringLiteral("Online activity <8.2> Length of file : 5")));
  EXPECT_TRUE(Logged(QStringLiteral("Online activity <8.2> Size : 5")));

  web_.DemandProxyCredentials(QStringLiteral("u"), QStringLiteral("p"));
  EXPECT_EQ(Client(true).PerformOnlineActivityWithProxy(path, &reply, &status), 1);
  EXPECT_TRUE(Logged(QStringLiteral("Online activity <P><8.2> Size : 5")));
  EXPECT_TRUE(web_.Requests().last().toObject()[QStringLiteral("proxied")].toBool());

  EXPECT_EQ(Register(QStringLiteral("through"), 2, true), 0);
  EXPECT_TRUE(web_.Pages().contains(QStringLiteral("through")));

  HostedPagesTarget refused;
  refused.host = QStringLiteral("127.0.0.1");
  refused.port = testsupport::ClosedLoopbackPort();
  EXPECT_EQ(CHostedPagesClient(refused, Sink(), &progress_).PerformOnlineActivity(path, &reply, &status), -31);
  EXPECT_TRUE(LoggedStart(QStringLiteral("Problem in performing online activity <4><")));
}

TEST_F(HostedPagesTest, WrongProxyCredentialsAreAStatusFailure) {
  web_.DemandProxyCredentials(QStringLiteral("u"), QStringLiteral("other"));
  QString reply;
  uint32_t status = 0;
  EXPECT_EQ(Client(true).PerformOnlineActivityWithProxy(CHostedPagesClient::AvailabilityPath(QStringLiteral("x")), &reply, &status), -1);
  EXPECT_EQ(status, 407u);
  EXPECT_TRUE(LoggedStart(QStringLiteral("Problem in performing online activity <P><8><")));
}

TEST_F(HostedPagesTest, AvailabilityOfADesktopName) {
  web_.EnterDesktop(QStringLiteral("taken"));
  QString reply;
  EXPECT_EQ(Client().CheckAvailability(QStringLiteral("free"), &reply), 1);
  EXPECT_EQ(reply, QStringLiteral("Valid"));
  EXPECT_EQ(Client().CheckAvailability(QStringLiteral("taken"), &reply), 1);
  EXPECT_FALSE(reply.contains(QStringLiteral("Valid")));

  web_.SetFault(QStringLiteral("UniqueDesktopName.asp"), QStringLiteral("chunked"));
  EXPECT_EQ(Client().CheckAvailability(QStringLiteral("free"), &reply), -111);
  web_.SetFault(QStringLiteral("UniqueDesktopName.asp"), QStringLiteral("result"), {{QStringLiteral("text"), QString()}});
  EXPECT_EQ(Client().CheckAvailability(QStringLiteral("free"), &reply), -1);
  EXPECT_TRUE(Logged(QStringLiteral("Problem in performing online activity <9> : <F L :0><Status :200>")));
}

}  // namespace
