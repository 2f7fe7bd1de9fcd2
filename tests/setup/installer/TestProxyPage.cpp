#include "platform/registry/Registry.h"
#include "setup/installer/ProxySettingsPage.h"
#include "tests/setup/installer/InstallerFixture.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <QTimer>

namespace {

using installertest::InstallerPageTest;

const QString kUser = QStringLiteral("proxyuser");
const QString kPassword = QStringLiteral("secret");

// Answers the proxy's credential prompts as they open, each with the next answer; an answer
// with an empty user name presses Cancel.
class CredentialPrompts {
 public:
  struct Answer {
    QString user;
    QString password;
  };

  explicit CredentialPrompts(QList<Answer> answers) : answers_(std::move(answers)) {
    QObject::connect(&poll_, &QTimer::timeout, [this] { AnswerOpenPrompt(); });
    poll_.start(20);
  }
  int Shown() const { return shown_; }

 private:
  void AnswerOpenPrompt() {
    QWidget* prompt = QApplication::activeModalWidget();
    if (prompt == nullptr || prompt->windowTitle() != QStringLiteral("Proxy Authentication")) return;
    ++shown_;
    const Answer answer = answers_.isEmpty() ? Answer{} : answers_.takeFirst();
    if (answer.user.isEmpty()) {
      prompt->findChild<QPushButton*>(QStringLiteral("2"))->click();
      return;
    }
    prompt->findChild<QLineEdit*>(QStringLiteral("1055"))->setText(answer.user);
    prompt->findChild<QLineEdit*>(QStringLiteral("1003"))->setText(answer.password);
    prompt->findChild<QPushButton*>(QStringLiteral("1"))->click();
  }

  QList<Answer> answers_;
  QTimer poll_;
  int shown_ = 0;
};

class ProxyPageTest : public InstallerPageTest {
 protected:
  void SetUp() override {
    InstallerPageTest::SetUp();
    web_.DemandProxyCredentials(kUser, kPassword);
  }

  // The automatic test, run to its end.
  void ActivateAndWait() {
    page_.OnSetActive();
    QElapsedTimer clock;
    clock.start();
    while (page_.StatusText().contains(QStringLiteral("Checking internet connection...")) && clock.elapsed() < 30'000) {
      QCoreApplication::processEvents();
      QThread::msleep(10);
    }
  }

  // The administration service answers the direct test with an error, and then whoever asks.
  void ReachableOnlyThroughProxy() {
    admin_.SetFault(QStringLiteral("GetDataTest"), QStringLiteral("http500"), 1);
    ActivateAndWait();
    ASSERT_EQ(page_.StatusText(),
              QStringLiteral("Problem in internet connection, Please Check your internet settings."));
    ASSERT_TRUE(InstallLogged(QStringLiteral("<OT> Fail to Connect <Type 1> : 500")));
    ASSERT_TRUE(InstallLogged(QStringLiteral("<OT> Connection Test Failed <D>.")));
  }

  void SetSystemProxy(const QString& text) {
    platform::RegistryKeyGuard key;
    platform::RegCreateKeyEx(platform::HKEY_CURRENT_USER,
                             QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings"),
                             platform::KEY_ALL_ACCESS, key.out());
    platform::RegSetValueEx(key.get(), QStringLiteral("ProxyServer"), platform::RegistryValue::FromString(text));
  }

  void UseWebDoubleAsProxy() {
    SetSystemProxy(QStringLiteral("127.0.0.1:%1").arg(web_.Port()));
    Control<QCheckBox>(&page_, "1040")->click();
  }

  int ProxiedRequests() {
    int proxied = 0;
    for (const QJsonValue& request : web_.Requests()) proxied += request[QStringLiteral("proxied")].toBool() ? 1 : 0;
    return proxied;
  }

  QLineEdit* Host() { return Control<QLineEdit>(&page_, "1036"); }
  QLineEdit* Port() { return Control<QLineEdit>(&page_, "1042"); }
  QPushButton* TestButton() { return Control<QPushButton>(&page_, "1033"); }

  CProxySettingsPage page_{app_};
};

TEST_F(ProxyPageTest, ADirectConnectionGoesOnWithoutAProxy) {
  ActivateAndWait();
  EXPECT_TRUE(page_.Connected());
  EXPECT_EQ(page_.StatusText(), QStringLiteral("Successfully connected to internet, Click 'Next' to continue..."));
  EXPECT_FALSE(Control<QCheckBox>(&page_, "1040")->isVisibleTo(&page_));
  ASSERT_TRUE(page_.validatePage());
  EXPECT_EQ(app_.State().service.connection.useProxy, 0);
  EXPECT_EQ(ProxiedRequests(), 0);
}

TEST_F(ProxyPageTest, TheSystemProxyFillsTheEditsAndBadEntriesAreRefused) {
  ReachableOnlyThroughProxy();
  auto* useProxy = Control<QCheckBox>(&page_, "1040");
  EXPECT_TRUE(useProxy->isVisibleTo(&page_));
  EXPECT_TRUE(useProxy->isEnabled());
  EXPECT_FALSE(Host()->isEnabled());

  SetSystemProxy(QStringLiteral("proxyhost"));
  useProxy->click();
  EXPECT_TRUE(Host()->isEnabled());
  EXPECT_EQ(Host()->text(), QString());
  EXPECT_EQ(Port()->text(), QStringLiteral("proxyhost"));

  struct Case {
    QString host;
    QString port;
    QString box;
  };
  const Case cases[] = {
      {QString(), QStringLiteral("8080"), QStringLiteral("Please enter Proxy Server IP Address.")},
      {QStringLiteral("proxyhost"), QString(), QStringLiteral("Please enter Proxy Server Port.")},
      {QStringLiteral("proxyhost"), QStringLiteral("0"), QStringLiteral("Please enter Proxy Server Port.")},
      {QStringLiteral("proxyhost"), QStringLiteral("65536"), QStringLiteral("Please enter Proxy Server Port.")},
      {QStringLiteral("proxyhost"), QStringLiteral("80a"), QStringLiteral("Please enter Proxy Server Port.")},
  };
  for (const Case& c : cases) {
    testsupport::MessageBoxRecorder::Global().Clear();
    Host()->setText(c.host);
    Port()->setText(c.port);
    TestButton()->click();
    ASSERT_EQ(Boxes().size(), 1) << c.port.toStdString();
    EXPECT_EQ(Boxes()[0].text, c.box);
  }
  EXPECT_EQ(ProxiedRequests(), 0);

  // The record holds 127 bytes of host name.
  Host()->setText(QString(100, u'h') + QString(20, u'é'));
  EXPECT_EQ(Host()->text().toUtf8().size(), 126);
}

TEST_F(ProxyPageTest, ACredentialPromptAnsweredWithOkRepeatsTheRequest) {
  ReachableOnlyThroughProxy();
  UseWebDoubleAsProxy();
  EXPECT_EQ(Host()->text(), QStringLiteral("127.0.0.1"));
  EXPECT_EQ(Port()->text(), QString::number(web_.Port()));

  CredentialPrompts prompts({{kUser, QStringLiteral("wrong")}, {kUser, kPassword}});
  TestButton()->click();
  EXPECT_EQ(prompts.Shown(), 2);
  EXPECT_TRUE(page_.Connected());
  EXPECT_EQ(page_.StatusText(), QStringLiteral("Successfully connected to internet, Click 'Next' to continue..."));
  EXPECT_EQ(installertest::InstallLogLines().count(QStringLiteral("<OTC> Auth required <1>.")), 2);
  EXPECT_TRUE(InstallLogged(QStringLiteral("<OTC> Connection Test  Successfull.")));
  EXPECT_GE(ProxiedRequests(), 4);
  EXPECT_TRUE(Boxes().isEmpty());

  ASSERT_TRUE(page_.validatePage());
  const ConnSettings& record = app_.State().service.connection;
  EXPECT_EQ(record.useProxy, 1);
  EXPECT_EQ(record.proxyServer, QByteArray("127.0.0.1"));
  EXPECT_EQ(record.proxyPort, web_.Port());
  EXPECT_EQ(record.proxyUser, kUser.toUtf8());
  EXPECT_EQ(record.proxyPassword, kPassword.toUtf8());
}

TEST_F(ProxyPageTest, ACredentialPromptAnsweredWithCancelFailsTheTest) {
  ReachableOnlyThroughProxy();
  UseWebDoubleAsProxy();
  CredentialPrompts prompts(QList<CredentialPrompts::Answer>{CredentialPrompts::Answer{}});
  TestButton()->click();
  EXPECT_EQ(prompts.Shown(), 1);
  EXPECT_FALSE(page_.Connected());
  EXPECT_EQ(page_.StatusText(), QStringLiteral("Problem in internet connection, Please Check your internet settings."));
  EXPECT_TRUE(Boxes().isEmpty());
  EXPECT_EQ(page_.Record().useProxy, 0);
}

TEST_F(ProxyPageTest, NextWhileTheAutomaticTestRunsStaysOnThePage) {
  admin_.SetFault(QStringLiteral("GetDataTest"), QStringLiteral("delay"), 1, {{QStringLiteral("seconds"), 1}});
  int nextAnswers = 0;
  bool wentOn = false;
  QTimer::singleShot(300, [&] {
    wentOn = page_.validatePage();
    ++nextAnswers;
  });
  ActivateAndWait();
  ASSERT_EQ(nextAnswers, 1);
  EXPECT_FALSE(wentOn);
  EXPECT_TRUE(InstallLogged(QStringLiteral("<ON> Connection Test in progress...")));
  EXPECT_TRUE(page_.Connected());
  EXPECT_TRUE(app_.State().service.connection.proxyServer.isEmpty());
}

TEST_F(ProxyPageTest, NextWithoutAConnectionTriesAgainDirectlyThenThroughTheProxy) {
  ReachableOnlyThroughProxy();
  admin_.SetFault(QStringLiteral("GetDataTest"), QStringLiteral("http500"), 2);
  EXPECT_FALSE(page_.validatePage());
  ASSERT_EQ(Boxes().size(), 1);
  EXPECT_EQ(Boxes()[0].text, QStringLiteral("Problem in internet connection, please check your internet settings."));
  EXPECT_TRUE(InstallLogged(QStringLiteral("<CI> Fail to Connect <Type 1> : 500")));
  EXPECT_TRUE(InstallLogged(QStringLiteral("<ON> Connection Test Failed <1>.")));

  UseWebDoubleAsProxy();
  CredentialPrompts prompts({{kUser, kPassword}});
  ASSERT_TRUE(page_.validatePage());
  EXPECT_EQ(prompts.Shown(), 1);
  EXPECT_TRUE(InstallLogged(QStringLiteral("<CI> Auth required. <1>")));
  EXPECT_TRUE(InstallLogged(QStringLiteral("<ON> Connection Test successfull<1>.")));
  EXPECT_EQ(app_.State().service.connection.useProxy, 1);
  EXPECT_EQ(app_.State().service.connection.proxyUser, kUser.toUtf8());
}

}  // namespace
