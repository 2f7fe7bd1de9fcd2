#include "setup/common/AdminServiceClient.h"
#include "setup/common/ServiceCheck.h"
#include "setup/common/UninstallerAdminClient.h"
#include "shared/contract/RegistryNames.h"
#include "shared/crypto/Base64.h"
#include "tests/setup/common/SetupFixture.h"
#include "tests/support/SettingsStore.h"

#include <QJsonArray>

namespace {

using setuptest::SetupServicesTest;

const QString kUdid = QStringLiteral("0123456789abcdef0123456789abcdef01234567");

class AdminServiceClientTest : public SetupServicesTest {
 protected:
  void SetUp() override {
    SetupServicesTest::SetUp();
    state_.adminService.host = QStringLiteral("127.0.0.1");
    state_.adminService.port = admin_.Port();
    state_.desktopName = kUdid;
    state_.deviceId = kUdid;
  }

  AdminEndpoint Endpoint() const { return state_.adminService; }
  CAdminServiceClient Installer() { return CAdminServiceClient(state_, Sink()); }
  CUninstallerAdminClient Uninstaller() { return CUninstallerAdminClient(Endpoint(), kUdid, Sink(), &progress_); }

  void UseWebServiceFromAdminService() {
    uint16_t status = 1;
    QString address;
    ASSERT_EQ(Installer().GetWebServiceURL(&status, &address), 1);
    QString error;
    ASSERT_TRUE(SplitWebServiceUrl(address, &state_.webService, &error)) << error.toStdString();
  }

  void ThroughProxyOfWebDouble(const QByteArray& user, const QByteArray& password) {
    state_.connection.useProxy = 1;
    state_.connection.proxyServer = "127.0.0.1";
    state_.connection.proxyPort = web_.Port();
    state_.connection.proxyUser = user;
    state_.connection.proxyPassword = password;
  }

  SetupServiceState state_;
};

TEST_F(AdminServiceClientTest, GetWebUrlRequestIsSentByteForByte) {
  uint16_t status = 1;
  QString address;
  ASSERT_EQ(Installer().GetWebServiceURL(&status, &address), 1);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(address, web_.Url(QStringLiteral("/svc/service.asmx")));

  const QJsonArray requests = admin_.Requests();
  ASSERT_EQ(requests.size(), 1);
  const QJsonObject request = requests[0].toObject();
  EXPECT_EQ(request[QStringLiteral("requestLine")].toString(), QStringLiteral("POST /AdminService/service.asmx HTTP/1.1"));
  const QByteArray body = QByteArray::fromBase64(request[QStringLiteral("body")].toString().toLatin1());
  EXPECT_EQ(body.size(), 450);
  EXPECT_EQ(body, AdminRequestBody(AdminOperation::GetWebUrl, kUdid, "AxgAVABhAHIAbgB3AGkAYwBrAFAAbAB1AHMAAQYAMQAuADAA"));
  bool contentType = false;
  for (const QJsonValue& header : request[QStringLiteral("headers")].toArray()) {
    const QJsonArray pair = header.toArray();
    if (pair[0].toString() == u"Content-Type") {
      contentType = true;
      EXPECT_EQ(pair[1].toString(), QStringLiteral("text/xml; charset=utf-8; Content-Length: 450"));
    }
  }
  EXPECT_TRUE(contentType);
  EXPECT_TRUE(admin_.Errors().isEmpty()) << admin_.Errors().join(u'\n').toStdString();

  EXPECT_TRUE(Logged(QStringLiteral("AppType<3>, AppName<TarnwickPlus>, DeviceType<1>, WebServiceVersion<1.0>")));
  EXPECT_TRUE(Logged(QStringLiteral("<GetWebURLFromAdminService> No Proxy Connection Settings are Enabled.")));
  EXPECT_TRUE(Logged(QStringLiteral("In GetWebServiceURL, Send B64Length : 48.")));
  EXPECT_TRUE(LoggedStart(QStringLiteral("In GetWebServiceURL, Recieved B64Length : ")));
  EXPECT_TRUE(LoggedStart(QStringLiteral("In GetWebServiceURL, DLength : ")));
}

TEST_F(AdminServiceClientTest, InstallAndUninstallKeepTheRegister) {
  uint16_t status = 1;
  QString message;
  ASSERT_EQ(Installer().InstallAdmin(&status, &message), 1);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(admin_.Desktops().value(kUdid).toString(), kUdid);
  EXPECT_TRUE(Logged(QStringLiteral("AppType<3>, AppName<TarnwickPlus>, DeviceType<1>, WebServiceVersion<1.0>, DeviceID<") +
                     kUdid + u'>'));

  ASSERT_EQ(Installer().InstallAdmin(&status, &message), 1);
  EXPECT_EQ(status, 1);
  EXPECT_TRUE(message.contains(QStringLiteral("already installed")));

  QString reply;
  for (int attempt = 0; attempt < 2; ++attempt) {  // a repeated withdrawal completes too
    ASSERT_EQ(Installer().UnInstallAdmin(&reply), 1);
    EXPECT_EQ(reply, QStringLiteral("Success"));
  }
  EXPECT_TRUE(admin_.Desktops().isEmpty());
  EXPECT_TRUE(Logged(QStringLiteral("AppName<TarnwickPlus>, NoOfDevices<0>")));
  EXPECT_TRUE(Logged(QStringLiteral("In UnInstallAdmin, Send B64Length : 40.")));
  EXPECT_TRUE(Logged(QStringLiteral("In UnInstallAdmin, Recieved Length : 7.")));
  EXPECT_TRUE(admin_.Errors().isEmpty()) << admin_.Errors().join(u'\n').toStdString();
}

TEST_F(AdminServiceClientTest, ReplyRecordsThatCannotBeReadAreRefusals) {
  struct Case {
    const char* kind;
    uint16_t status;
    QString text;
  };
  const Case cases[] = {
      {"refuse", 2, QStringLiteral("No such application")},
      {"shortRecord", kUnreadableReplyStatus, QString()},
      {"overlongRecord", kUnreadableReplyStatus, QString()},
      {"oddRecord", kUnreadableReplyStatus, QString()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    lines_.clear();
    admin_.SetFault(QStringLiteral("GetWebUrl"), QString::fromLatin1(c.kind), 1,
                    {{QStringLiteral("status"), 2}, {QStringLiteral("message"), QStringLiteral("No such application")}});
    uint16_t status = 0;
    QString address = QStringLiteral("stale");
    EXPECT_EQ(Installer().GetWebServiceURL(&status, &address), 1);
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(address, c.text);
    EXPECT_EQ(LoggedStart(QStringLiteral("In GetWebServiceURL, The reply record")), c.status == kUnreadableReplyStatus);
  }
}

// One POST exchange of each program over a fault of the service.
struct ExchangeCase {
  const char* kind;
  int installerCode;
  int uninstallerCode;
  QString result;         // of a completed exchange, in both programs
  QStringList lines;      // logged by both
  QString installerLine;  // logged by the installer only
  QString uninstallerLine;
};

TEST_F(AdminServiceClientTest, ExchangesOfBothProgramsOverTheServicesFaults) {
  const QString reply = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>");
  const ExchangeCase cases[] = {
      {"none", 1, 1, QStringLiteral("Success"), {QStringLiteral("CHttpFile::SendRequest() Success."), QStringLiteral("Number of bytes read = ")},
       {}, QStringLiteral("Customer Removed successfully.")},
      {"http500", -1, -1, {},
       {QStringLiteral("CHttpFile::QueryInfoStatusCode() status : 500"), QStringLiteral("Internal Server Error")}, {}, {}},
      {"noResult", -1, -1, {}, {}, QStringLiteral("In UnInstallDesktopFromAdminService, Result : ") + reply,
       QStringLiteral("In SendData, Send Request Result : ") + reply},
      {"unclosedResult", 1, 1, {}, {}, {}, {}},
      {"emptyResult", -1, 1, {}, {}, QStringLiteral("In UnInstallDesktopFromAdminService, Result : "), {}},
      {"soapFault", -1, -1, {}, {}, {}, QStringLiteral("In SendData, Send Request Result : Register closed")},
      {"result", 1, 1, QStringLiteral("Refused"), {}, {}, QStringLiteral("In SendData, Send Request Result : Refused")},
      {"chunked", 1, 1, QStringLiteral("Success"), {QStringLiteral("GetLastError() for CHttpFile::QueryInfo() is 12150")}, {}, {}},
      {"drop", -41, -41, {}, {QStringLiteral("Exception in CHttpFile::SendRequest() call.")}, {}, {}},
  };
  const QJsonObject extra{{QStringLiteral("reason"), QStringLiteral("Register closed")},
                          {QStringLiteral("text"), QStringLiteral("Refused")}};
  const QByteArray data = Base64Encode(databuffer::UninstallDesktopRecord(QStringLiteral("TarnwickPlus")));
  for (const ExchangeCase& c : cases) {
    SCOPED_TRACE(c.kind);
    for (const bool installer : {true, false}) {
      lines_.clear();
      admin_.SetFault(QStringLiteral("UninstallDesktop"), QString::fromLatin1(c.kind), 1, extra);
      QString result = QStringLiteral("stale");
      const int code = installer ? Installer().UnInstallDesktopFromAdminService(data, &result)
                                 : Uninstaller().UnInstallDesktopFromAdminService(data, &result);
      EXPECT_EQ(code, installer ? c.installerCode : c.uninstallerCode) << (installer ? "installer" : "uninstaller");
      if (code == 1) {
        EXPECT_EQ(result, c.result);
      }
      for (const QString& line : c.lines) EXPECT_TRUE(LoggedStart(line)) << line.toStdString() << "\n" << lines_.join(u'\n').toStdString();
      const QString own = installer ? c.installerLine : c.uninstallerLine;
      if (!own.isEmpty()) {
        EXPECT_TRUE(LoggedStart(own)) << own.toStdString();
      }
      // The body of a failed status is never read; only the installer names its transport.
      if (qstrcmp(c.kind, "http500") == 0) {
        EXPECT_FALSE(LoggedStart(QStringLiteral("Length of file")));
      }
      EXPECT_EQ(LoggedStart(QStringLiteral("<UnInstallDesktopFromAdminService> No Proxy")), installer);
    }
  }
}

TEST_F(AdminServiceClientTest, RefusedHostFailsAtTheSendStep) {
  state_.adminService.port = testsupport::ClosedLoopbackPort();
  uint16_t status = 0;
  QString address;
  EXPECT_EQ(Installer().GetWebServiceURL(&status, &address), 0);
  QString result;
  EXPECT_EQ(Installer().GetWebURLFromAdminService("AAAA", &result), -41);
  EXPECT_TRUE(Logged(QStringLiteral("Exception in CHttpFile::SendRequest() call.")));
}

TEST_F(AdminServiceClientTest, ProxyCarriesItsOwnCredentials) {
  web_.DemandProxyCredentials(QStringLiteral("proxyuser"), QStringLiteral("proxypass"));
  ThroughProxyOfWebDouble("proxyuser", "wrong");
  QString result;
  EXPECT_EQ(Installer().GetWebURLFromAdminService("AAAA", &result), -1);
  EXPECT_TRUE(Logged(QStringLiteral("CHttpFile::QueryInfoStatusCode() status : 407")));
  EXPECT_TRUE(admin_.Requests().isEmpty());

  ThroughProxyOfWebDouble("proxyuser", "proxypass");
  uint16_t status = 1;
  QString address;
  ASSERT_EQ(Installer().GetWebServiceURL(&status, &address), 1);
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(Logged(QStringLiteral("<GetWebURLFromAdminService> Proxy Connection Settings are Enabled.")));
  // The service itself is never handed the proxy's credentials.
  const QJsonArray requests = admin_.Requests();
  ASSERT_EQ(requests.size(), 1);
  for (const QJsonValue& header : requests[0].toObject()[QStringLiteral("headers")].toArray()) {
    EXPECT_NE(header.toArray()[0].toString().toLower(), QStringLiteral("authorization"));
  }
}

TEST_F(AdminServiceClientTest, UninstallerReadsTheProxyFromTheRegistryBeforeEachCall) {
  web_.DemandProxyCredentials(QStringLiteral("u"), QStringLiteral("p"));
  ThroughProxyOfWebDouble("u", "p");
  ASSERT_TRUE(testsupport::StoreSealedValue(registrynames::kSettingsKey, QStringLiteral("ConnSettings"),
                                            state_.connection.ToBytes()));
  EXPECT_EQ(Uninstaller().UnInstallAdmin(), 0);
  EXPECT_TRUE(Logged(QStringLiteral("<SendDataOverHTTP> Proxy Connection Settings are Enabled.")));
  EXPECT_EQ(admin_.Requests().size(), 1);
}

TEST_F(AdminServiceClientTest, UninstallerTriesTheWithdrawalTwice) {
  admin_.SetFault(QStringLiteral("UninstallDesktop"), QStringLiteral("drop"), 1);
  QString reply;
  EXPECT_EQ(Uninstaller().UnInstallAdmin(&reply), 0);
  EXPECT_EQ(reply, QStringLiteral("Success"));
  EXPECT_EQ(admin_.Requests().size(), 2);
  EXPECT_TRUE(Boxes().isEmpty());
  EXPECT_EQ(progress_.steps_, QList<int>{10});

  admin_.SetFault(QStringLiteral("UninstallDesktop"), QStringLiteral("http500"), 2);
  EXPECT_EQ(Uninstaller().UnInstallAdmin(), -2);
  EXPECT_EQ(admin_.Requests().size(), 4);
  EXPECT_TRUE(Logged(QStringLiteral("Problem in removing customer, internet connection failed.")));
  ASSERT_EQ(Boxes().size(), 1);
  EXPECT_EQ(Boxes()[0].text, QStringLiteral("Problem in uninstalling Tarnwick Plus Lite, Please check internet connection."));
  EXPECT_EQ(Boxes()[0].caption, QStringLiteral("Tarnwick Plus Lite"));
  EXPECT_EQ(Boxes()[0].icon(), platform::MB_ICONERROR);
}

// A refusal leaves the desktop registered: it is no withdrawal, and it is tried once more.
TEST_F(AdminServiceClientTest, UninstallerCountsOnlySuccessAsWithdrawn) {
  admin_.Enter(kUdid, kUdid);
  admin_.SetFault(QStringLiteral("UninstallDesktop"), QStringLiteral("result"), 2,
                  {{QStringLiteral("text"), QStringLiteral("NotAllowed")}});
  EXPECT_EQ(Uninstaller().UnInstallAdmin(), -2);
  EXPECT_EQ(admin_.Requests().size(), 2);
  EXPECT_TRUE(Logged(QStringLiteral("In SendData, Send Request Result : NotAllowed")));
  EXPECT_TRUE(Logged(QStringLiteral("Problem in removing customer, internet connection failed.")));
  EXPECT_EQ(Boxes().size(), 1);
  EXPECT_TRUE(admin_.Desktops().contains(kUdid));
}

TEST_F(AdminServiceClientTest, UninstallerEntersTheDesktopAgain) {
  databuffer::Reply reply;
  EXPECT_EQ(Uninstaller().InstallAdmin(&reply), 0);
  EXPECT_EQ(reply.status, 0);
  EXPECT_TRUE(Logged(QStringLiteral("Customer Added successfully.")));
  EXPECT_EQ(admin_.Desktops().value(kUdid).toString(), kUdid);

  EXPECT_EQ(Uninstaller().InstallAdmin(&reply), 0);  // a refusal completes the exchange
  EXPECT_EQ(reply.status, 1);
  EXPECT_TRUE(Logged(QStringLiteral("Error on customer add.")));

  admin_.SetFault(QStringLiteral("InstallDesktop"), QStringLiteral("emptyResult"), 1);
  EXPECT_EQ(Uninstaller().InstallAdmin(&reply), 0);
  EXPECT_EQ(reply.status, kUnreadableReplyStatus);

  admin_.SetFault(QStringLiteral("InstallDesktop"), QStringLiteral("drop"), 1);
  EXPECT_EQ(Uninstaller().InstallAdmin(&reply), -2);
  EXPECT_EQ(Boxes().size(), 1);
  EXPECT_TRUE(admin_.Errors().isEmpty()) << admin_.Errors().join(u'\n').toStdString();
}

TEST_F(AdminServiceClientTest, UninstallerGivesUpAfterItsReceiveTimeout) {
  admin_.SetFault(QStringLiteral("InstallDesktop"), QStringLiteral("delay"), 1, {{QStringLiteral("seconds"), 5}});
  CUninstallerAdminClient client(Endpoint(), kUdid, Sink(), &progress_);
  EXPECT_EQ(client.kReceiveTimeoutMs, 180'000);
  client.SetReceiveTimeout(300);
  QString result;
  EXPECT_EQ(client.InstallDesktopOnAdminService("AAAA", &result), -41);
}

TEST_F(AdminServiceClientTest, WebServiceTestsByGetAndPost) {
  UseWebServiceFromAdminService();
  EXPECT_EQ(state_.webService.path, QStringLiteral("/svc/service.asmx"));
  uint32_t status = 0;
  EXPECT_EQ(Installer().TestGetDataWebServiceCall(&status), 1);
  EXPECT_EQ(status, 200u);
  EXPECT_EQ(Installer().TestPostDataWebServiceCall(&status), 1);
  EXPECT_EQ(status, 200u);
  EXPECT_TRUE(Logged(QStringLiteral("Checking Service Connection<Type 1>...")));
  EXPECT_TRUE(Logged(QStringLiteral("<TestPostDataWebServiceCall> No Proxy Connection Settings are Enabled.")));
  EXPECT_TRUE(LoggedStart(QStringLiteral("Size <Type 2> <8.2> : ")));

  const QJsonArray requests = web_.Requests();
  ASSERT_EQ(requests.size(), 2);
  EXPECT_EQ(requests[0].toObject()[QStringLiteral("requestLine")].toString(),
            QStringLiteral("GET /svc/service.asmx/GetDataTest HTTP/1.1"));
  const QByteArray body = QByteArray::fromBase64(requests[1].toObject()[QStringLiteral("body")].toString().toLatin1());
  EXPECT_EQ(body.size(), 285);
  EXPECT_TRUE(body.contains("    <GetDataTest xmlns=\"Tarnwick\"/>  </soap:Body>"));

  web_.SetFault(QStringLiteral("GetDataTest"), QStringLiteral("status"),
                {{QStringLiteral("status"), 404}, {QStringLiteral("reasonPhrase"), QStringLiteral("Not Found")}});
  EXPECT_EQ(Installer().TestGetDataWebServiceCall(&status), -1);
  EXPECT_EQ(status, 404u);
  EXPECT_TRUE(Logged(QStringLiteral("Problem in Checking Service Connection<Type 1> <8><Not Found>.")));

  web_.SetFault(QStringLiteral("GetDataTest"), QStringLiteral("result"), {{QStringLiteral("text"), QStringLiteral("failed")}});
  EXPECT_EQ(Installer().TestPostDataWebServiceCall(&status), -1);
  EXPECT_TRUE(LoggedStart(QStringLiteral("Response <Type 2> <8.2> : ")));

  state_.webService.port = testsupport::ClosedLoopbackPort();
  EXPECT_EQ(Installer().TestGetDataWebServiceCall(&status), -41);
  EXPECT_EQ(status, 0u);
  EXPECT_TRUE(LoggedStart(QStringLiteral("Problem in Checking Service Connection<Type 1> <6><")));
}

TEST_F(AdminServiceClientTest, WebServiceTestsThroughTheProxy) {
  UseWebServiceFromAdminService();
  web_.DemandProxyCredentials(QStringLiteral("u"), QStringLiteral("p"));
  ThroughProxyOfWebDouble("u", "wrong");
  uint32_t status = 0;
  EXPECT_EQ(Installer().TestGetDataWebServiceCall(&status), -1);
  EXPECT_EQ(status, 407u);
  ThroughProxyOfWebDouble("u", "p");
  EXPECT_EQ(Installer().TestGetDataWebServiceCall(&status), 1);
  EXPECT_EQ(Installer().TestPostDataWebServiceCall(&status), 1);
  EXPECT_TRUE(Logged(QStringLiteral("<TestGetDataWebServiceCall> Proxy Connection Settings are Enabled.")));
}

TEST_F(AdminServiceClientTest, ServiceCheckOfTheAdministrationServiceThroughTheProxy) {
  // The proxy page's check: the administration service's own GetDataTest, stage by stage.
  web_.DemandProxyCredentials(QStringLiteral("u"), QStringLiteral("p"));
  ServiceCheck check;
  check.mark = QStringLiteral("Type 2:P");
  check.tag = QStringLiteral("<OTC>");
  check.post = true;
  check.host = QStringLiteral("127.0.0.1");
  check.port = admin_.Port();
  check.object = QStringLiteral("/AdminService/service.asmx");
  check.body = AdminGetDataTestBody();
  check.useProxy = true;
  check.proxyName = QStringLiteral("127.0.0.1:%1").arg(web_.Port());
  check.proxyUser = QStringLiteral("u");
  check.proxyPassword = QStringLiteral("p");
  int stages = 0;
  check.stageDone = [&stages] { ++stages; };
  uint32_t status = 0;
  EXPECT_EQ(RunServiceCheck(check, Sink(), &status), 1);
  EXPECT_EQ(stages, 5);
  const QJsonArray requests = admin_.Requests();
  ASSERT_EQ(requests.size(), 1);
  EXPECT_EQ(QByteArray::fromBase64(requests[0].toObject()[QStringLiteral("body")].toString().toLatin1()),
            AdminGetDataTestBody());
}

}  // namespace
