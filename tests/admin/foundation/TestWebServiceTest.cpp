#include "admin/foundation/LogFile.h"
#include "admin/foundation/WebServiceTest.h"
#include "platform/registry/Registry.h"
#include "shared/RegistryHandler.h"
#include "shared/contract/RegistryNames.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/LogReader.h"
#include "tests/support/SettingsStore.h"
#include "tests/support/WebServiceDouble.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QJsonArray>

#include <memory>

using testsupport::EntriesContaining;
using testsupport::LogEntry;

namespace {

// One double for the suite (starting it takes a moment); every case resets it.
class WebServiceTestTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { service_ = new testsupport::WebServiceDouble; }
  static void TearDownTestSuite() {
    delete service_;
    service_ = nullptr;
  }

  void SetUp() override {
    ASSERT_TRUE(service_->Started()) << service_->Error().toStdString();
    service_->Command({{QStringLiteral("cmd"), QStringLiteral("reset")}});
    {
      platform::RegistryKeyGuard guard;  // WriteConnSettings wants the key to exist
      ASSERT_EQ(platform::RegCreateKeyEx(platform::HKEY_LOCAL_MACHINE, registrynames::kSettingsKey,
                                         platform::KEY_ALL_ACCESS, guard.out()),
                platform::ERROR_SUCCESS);
    }
    folder_ = testsupport::CurrentMachineRoot() + QStringLiteral("/log/");
    QDir().mkpath(folder_);
    log_ = std::make_unique<CLogFile>(folder_, QStringLiteral("DesktopLog.log"));
    StoreAddress(service_->Url());
  }

  static void StoreAddress(const QString& url) {
    SyncInfo info;
    info.webServiceUrl = url.toUtf8();
    ASSERT_TRUE(
        testsupport::StoreSealedValue(registrynames::RecordKeyName(), QStringLiteral("SyncInfo"), info.ToBytes()));
  }

  static void StoreProxy(int32_t useProxy, const QString& user, const QString& password) {
    ConnSettings settings;
    settings.proxyServer = "127.0.0.1";
    settings.proxyPort = service_->Port();
    settings.proxyUser = user.toUtf8();
    settings.proxyPassword = password.toUtf8();
    settings.useProxy = useProxy;
    ASSERT_EQ(GetRegistryHandler()->WriteConnSettings(settings), 0);
  }

  QString Proxy() const { return QStringLiteral("127.0.0.1:%1").arg(service_->Port()); }

  QList<LogEntry> Log() const { return testsupport::ReadLogEntries(log_->FilePath()); }

  QList<int> CodesOf(const QString& part) const {
    QList<int> codes;
    for (const LogEntry& entry : EntriesContaining(Log(), part)) codes.append(entry.code);
    return codes;
  }

  static testsupport::WebServiceDouble* service_;
  QString folder_;
  std::unique_ptr<CLogFile> log_;
};

testsupport::WebServiceDouble* WebServiceTestTest::service_ = nullptr;

TEST(CrackWebServiceUrl, GivesServerPathAndPortOrTheErrorText) {
  QString server, path, error;
  uint16_t port = 0;
  ASSERT_TRUE(admin::CrackWebServiceUrl(QStringLiteral("http://ws.example.com:8080/svc/"), &server, &path, &port, &error));
  EXPECT_EQ(server, QStringLiteral("ws.example.com"));
  EXPECT_EQ(path, QStringLiteral("/svc/"));
  EXPECT_EQ(port, 8080);
  EXPECT_FALSE(admin::CrackWebServiceUrl(QString(), &server, &path, &port, &error));
  EXPECT_EQ(error, QStringLiteral("Error Code : 12005."));
  EXPECT_EQ(GetBuildString(), QStringLiteral("Build 181110A"));
}

TEST_F(WebServiceTestTest, TestWebServiceReachesTheServiceAndLogsItsResult) {
  EXPECT_EQ(TestWebService(log_.get(), service_->Url()), 1);
  EXPECT_EQ(CodesOf(QStringLiteral("In WebService URL, Server : 127.0.0.1, Port : %1, PostURI : /svc/service.asmx")
                        .arg(service_->Port())),
            QList<int>{139});
  EXPECT_EQ(CodesOf(QStringLiteral("In TestWebService, Send Request Result : ok")), QList<int>{150});
}

TEST_F(WebServiceTestTest, AFaultWithStatus500LogsItsReasonThenTheStatusLines) {
  service_->SetFault(QStringLiteral("GetDataTest"), QStringLiteral("http500"),
                     {{QStringLiteral("reason"), QStringLiteral("Database offline")}});
  EXPECT_EQ(TestWebService(log_.get(), service_->Url()), 255);
  const QList<LogEntry> log = Log();
  ASSERT_GE(log.size(), 7);
  EXPECT_EQ(log[1].code, 151);
  EXPECT_EQ(log[1].text, QStringLiteral("In TestWebService, Send Request Result : Database offline"));
  EXPECT_EQ(log[2].text, QStringLiteral("CHttpFile::QueryInfoStatusCode() status : 500"));
  EXPECT_EQ(log[4].text, QStringLiteral("Internal Server Error"));
  EXPECT_TRUE(log[6].text.startsWith(QStringLiteral("HTTP/1.1 500 Internal Server Error ")));
  EXPECT_FALSE(log[6].text.contains(QLatin1Char('\n')));
  for (int i = 2; i <= 6; ++i) EXPECT_EQ(log[i].code, 151 + i);
}

TEST_F(WebServiceTestTest, AnEmptyResultElementLogsNothing) {
  service_->SetFault(QStringLiteral("GetDataTest"), QStringLiteral("emptyResult"));
  EXPECT_EQ(TestWebService(log_.get(), service_->Url()), 1);
  EXPECT_TRUE(EntriesContaining(Log(), QStringLiteral("Send Request Result")).isEmpty());
}

TEST_F(WebServiceTestTest, TestWebServiceStepFailuresHaveTheirCodes) {
  EXPECT_EQ(TestWebService(log_.get(), QStringLiteral("not an address")), -1);
  EXPECT_EQ(CodesOf(QStringLiteral("Error Code : 12005.")), QList<int>{-14});

  service_->SetFault(QStringLiteral("GetDataTest"), QStringLiteral("drop"));
  EXPECT_EQ(TestWebService(log_.get(), service_->Url()), -41);
  EXPECT_EQ(CodesOf(QStringLiteral("Exception in CHttpFile::SendRequest() call.")), QList<int>{148});
  const QList<LogEntry> log = Log();
  EXPECT_EQ(log.last().code, 149);
  EXPECT_FALSE(log.last().text.isEmpty());
}

TEST_F(WebServiceTestTest, ProxyChecksPassWithTheProxysCredentialsOnly) {
  service_->DemandProxyCredentials(QStringLiteral("pat"), QStringLiteral("s3cret"));
  StoreAddress(QStringLiteral("http://webservice.invalid/svc/"));  // only the proxy knows it
  uint32_t status = 99;
  EXPECT_EQ(TestGetDataWebServiceCallWithProxy(log_.get(), Proxy(), QStringLiteral("pat"),
                                               QStringLiteral("s3cret"), &status), 1);
  EXPECT_EQ(status, 200u);
  EXPECT_EQ(TestPostDataWebServiceCallWithProxy(log_.get(), Proxy(), QStringLiteral("pat"),
                                                QStringLiteral("s3cret"), &status), 1);
  EXPECT_EQ(status, 200u);
  EXPECT_EQ(CodesOf(QStringLiteral("<TestGetDataWebServiceCallWithProxy> Checking Connection with Proxy ...")), QList<int>{1});
  EXPECT_EQ(CodesOf(QStringLiteral("<TestPostDataWebServiceCallWithProxy> Response = ")), QList<int>{-1});

  EXPECT_EQ(TestGetDataWebServiceCallWithProxy(log_.get(), Proxy(), QStringLiteral("pat"),
                                               QStringLiteral("wrong"), &status), -1);
  EXPECT_EQ(status, 407u);
  EXPECT_EQ(CodesOf(QStringLiteral("<TestGetDataWebServiceCallWithProxy> Problem in Checking Connection"
                                   "<Type 1:P> <8><Proxy Authentication Required>.")),
            QList<int>{9});
  EXPECT_EQ(CodesOf(QStringLiteral("<Type 1:P> <8.1><HTTP/1.1 407")), QList<int>{10});
  for (const QJsonValue& request : service_->Requests()) {
    EXPECT_TRUE(request[QStringLiteral("proxied")].toBool());
  }
}

TEST_F(WebServiceTestTest, TheProxyGetCheckWantsOkInTheAnswer) {
  service_->SetFault(QStringLiteral("GetDataTest"), QStringLiteral("result"), {{QStringLiteral("text"), QStringLiteral("yes")}});
  uint32_t status = 0;
  EXPECT_EQ(TestGetDataWebServiceCallWithProxy(log_.get(), Proxy(), QString(), QString(), &status), -1);
  EXPECT_EQ(status, 200u);
}

TEST_F(WebServiceTestTest, ProxyCheckFailurePointsNameTheStep) {
  service_->SetFault(QStringLiteral("GetDataTest"), QStringLiteral("drop"));
  uint32_t status = 99;
  EXPECT_EQ(TestPostDataWebServiceCallWithProxy(log_.get(), Proxy(), QString(), QString(), &status), -41);
  EXPECT_EQ(status, 0u);
  EXPECT_EQ(CodesOf(QStringLiteral("<TestPostDataWebServiceCallWithProxy> Problem in Checking Connection<Type 2:P> <6><")),
            QList<int>{7});
  StoreAddress(QString());
  EXPECT_EQ(TestGetDataWebServiceCallWithProxy(log_.get(), Proxy(), QString(), QString(), &status), -1);
  EXPECT_EQ(CodesOf(QStringLiteral("Error Code : 12005.")), QList<int>{-16});
}

TEST_F(WebServiceTestTest, StartUpCheckFollowsTheStoredProxySettings) {
  EXPECT_EQ(admin::GetDataTestWebServiceMethod(log_.get()), -1);
  EXPECT_EQ(CodesOf(QStringLiteral("<GetDataTestWebServiceMethod> Problem in Connection Settings.")), QList<int>{-1});

  // Flag 0: a direct connection without user name.
  StoreProxy(0, QStringLiteral("pat"), QStringLiteral("s3cret"));
  EXPECT_EQ(admin::GetDataTestWebServiceMethod(log_.get()), 1);
  EXPECT_TRUE(CodesOf(QStringLiteral("Proxy Connection Settings are Enabled.")).isEmpty());
  QJsonArray requests = service_->Requests();
  ASSERT_EQ(requests.size(), 1);
  EXPECT_FALSE(requests[0][QStringLiteral("proxied")].toBool());

  // Flag 1: through the stored proxy, with its credentials.
  service_->DemandProxyCredentials(QStringLiteral("pat"), QStringLiteral("s3cret"));
  StoreProxy(1, QStringLiteral("pat"), QStringLiteral("s3cret"));
  EXPECT_EQ(admin::GetDataTestWebServiceMethod(log_.get()), 1);
  EXPECT_EQ(CodesOf(QStringLiteral("<GetDataTestWebServiceMethod> Proxy Connection Settings are Enabled.")), QList<int>{-1});
  requests = service_->Requests();
  EXPECT_TRUE(requests.last()[QStringLiteral("proxied")].toBool());
  EXPECT_EQ(CodesOf(QStringLiteral("In TestWebService, Send Request Result : ok")).size(), 2);
}

TEST_F(WebServiceTestTest, StartUpCheckAnswerCases) {
  StoreProxy(0, QString(), QString());
  // Status 500: the five status lines, all -1, and the answer is not read.
  service_->SetFault(QStringLiteral("GetDataTest"), QStringLiteral("http500"), {{QStringLiteral("reason"), QStringLiteral("x")}});
  EXPECT_EQ(admin::GetDataTestWebServiceMethod(log_.get()), -1);
  EXPECT_EQ(CodesOf(QStringLiteral("CHttpFile::QueryInfo(HTTP_QUERY_")), (QList<int>{-1, -1}));
  EXPECT_TRUE(CodesOf(QStringLiteral("Number of bytes read")).isEmpty());

  // A fault with status 200 counts as reached and logs its reason.
  service_->SetFault(QStringLiteral("GetDataTest"), QStringLiteral("soap12Fault"), {{QStringLiteral("reason"), QStringLiteral("Busy")}});
  EXPECT_EQ(admin::GetDataTestWebServiceMethod(log_.get()), 1);
  EXPECT_EQ(CodesOf(QStringLiteral("In GetDataTestWebServiceMethod, Send Request Result : Busy")), QList<int>{-1});

  // An answer without a length: read whole all the same.
  service_->SetFault(QStringLiteral("GetDataTest"), QStringLiteral("chunked"));
  EXPECT_EQ(admin::GetDataTestWebServiceMethod(log_.get()), 1);
  EXPECT_EQ(CodesOf(QStringLiteral("GetLastError() for CHttpFile::QueryInfo() is 12150")), QList<int>{-1});

  service_->SetFault(QStringLiteral("GetDataTest"), QStringLiteral("drop"));
  EXPECT_EQ(admin::GetDataTestWebServiceMethod(log_.get()), -41);
  EXPECT_EQ(CodesOf(QStringLiteral("Exception in CHttpFile::SendRequest() call.")), QList<int>{-1});
}

}  // namespace
