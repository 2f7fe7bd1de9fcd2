// The connection settings dialog against the web-service double acting as the proxy: the test
// by GET and POST with its credential prompts, what OK stores, and the refusals.
#include "admin/foundation/AppLog.h"
#include "admin/foundation/LogFile.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/ProxySettingsDlg.h"
#include "admin/shell/ProxyUserPassDlg.h"
#include "platform/registry/Registry.h"
#include "shared/RegistryHandler.h"
#include "shared/contract/RegistryNames.h"
#include "tests/support/FreshMachineRoot.h"
#include "tests/support/LogReader.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/SettingsStore.h"
#include "tests/support/WebServiceDouble.h"
#include "tests/support/WidgetReach.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QJsonArray>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <memory>
#include <optional>
#include <utility>

using testsupport::MessageBoxRecorder;

namespace {

const QString kProblem = QStringLiteral("Problem in internet connection, please check your internet settings.");
const QString kConnected = QStringLiteral("Successfully connected to internet.");

using Credentials = std::optional<std::pair<QString, QString>>;

// Answers each credential prompt as it appears: with the next credentials, or Cancel when none
// are left (or the next is empty).
class PromptAnswers {
 public:
  explicit PromptAnswers(QList<Credentials> answers) : answers_(std::move(answers)) {
    timer_.callOnTimeout([this] { Look(); });
    timer_.start(5);
  }
  int asked() const { return asked_; }

 private:
  void Look() {
    auto* prompt = qobject_cast<CProxyUserPassDlg*>(QApplication::activeModalWidget());
    if (prompt == nullptr || !prompt->isVisible()) return;
    ++asked_;
    const Credentials answer = answers_.isEmpty() ? Credentials() : answers_.takeFirst();
    if (!answer) {
      prompt->findChild<CBMButton*>(QStringLiteral("2"))->click();
      return;
    }
    prompt->findChild<QLineEdit*>(QStringLiteral("1055"))->setText(answer->first);
    prompt->findChild<QLineEdit*>(QStringLiteral("1003"))->setText(answer->second);
    prompt->findChild<CBMButton*>(QStringLiteral("1"))->click();
  }

  QList<Credentials> answers_;
  QTimer timer_;
  int asked_ = 0;
};

class ProxySettings : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { service_ = new testsupport::WebServiceDouble; }
  static void TearDownTestSuite() {
    delete service_;
    service_ = nullptr;
  }

  void SetUp() override {
    ASSERT_TRUE(service_->Started()) << service_->Error().toStdString();
    service_->Command({{QStringLiteral("cmd"), QStringLiteral("reset")}});
    MessageBoxRecorder::Global().Clear();
    const QString folder = testsupport::CurrentMachineRoot() + QStringLiteral("/log/");
    QDir().mkpath(folder);
    log_ = std::make_unique<CLogFile>(folder, QStringLiteral("DesktopLog.log"));
    SetAppLog(log_.get());
    SyncInfo info;
    info.webServiceUrl = service_->Url().toUtf8();
    ASSERT_TRUE(
        testsupport::StoreSealedValue(registrynames::RecordKeyName(), QStringLiteral("SyncInfo"), info.ToBytes()));
  }
  void TearDown() override { SetAppLog(nullptr); }

  static void CreateSettingsKey() {
    platform::RegistryKeyGuard key;
    ASSERT_EQ(platform::RegCreateKeyEx(platform::HKEY_LOCAL_MACHINE, registrynames::kSettingsKey,
                                       platform::KEY_ALL_ACCESS, key.out()),
              platform::ERROR_SUCCESS);
  }

  static void StoreProxy(int32_t useProxy) {
    CreateSettingsKey();
    ConnSettings settings;
    settings.proxyServer = "127.0.0.1";
    settings.proxyPort = service_->Port();
    settings.proxyUser = "stored";
    settings.proxyPassword = "pw";
    settings.useProxy = useProxy;
    ASSERT_EQ(GetRegistryHandler()->WriteConnSettings(settings), 0);
  }

  static std::optional<ConnSettings> Stored() {
    ConnSettings settings;
    if (GetRegistryHandler()->ReadConnSettings(&settings) != 0) return std::nullopt;
    return settings;
  }

  // The dialog shown, with the proxy ticked and the double's address and port typed.
  std::unique_ptr<CProxySettingsDlg> OpenWithProxy(const QString& address = QStringLiteral("127.0.0.1")) {
    auto dialog = std::make_unique<CProxySettingsDlg>();
    dialog->show();
    auto* use = dialog->findChild<QCheckBox*>(QStringLiteral("1183"));
    if (!use->isChecked()) QTest::mouseClick(use, Qt::LeftButton, {}, QPoint(5, use->height() / 2));
    Edit(*dialog, "1055")->setText(address);
    Edit(*dialog, "1185")->setText(QString::number(service_->Port()));
    return dialog;
  }

  static QLineEdit* Edit(const QWidget& dialog, const char* id) {
    return dialog.findChild<QLineEdit*>(QString::fromLatin1(id));
  }
  static void Click(const QWidget& dialog, const char* id) {
    dialog.findChild<CBMButton*>(QString::fromLatin1(id))->click();
  }

  // The methods of the requests the double saw since the last call.
  static QStringList Methods() {
    QStringList methods;
    for (const QJsonValue& request : service_->Requests()) {
      methods.append(request[QStringLiteral("requestLine")].toString().section(u' ', 0, 0));
    }
    service_->Command({{QStringLiteral("cmd"), QStringLiteral("reset")}});
    return methods;
  }

  // The checks the dialog made since the last call, "GET" or "POST" each, in order (the HTTP
  // layer may send a request more than once while it negotiates credentials with the proxy).
  QStringList Checks() {
    QStringList checks;
    const QList<testsupport::LogEntry> entries = testsupport::ReadLogEntries(log_->FilePath());
    for (qsizetype i = checksRead_; i < entries.size(); ++i) {
      if (entries[i].text == QStringLiteral("<TestGetDataWebServiceCallWithProxy> Checking Connection with Proxy ..."))
        checks.append(QStringLiteral("GET"));
      if (entries[i].text == QStringLiteral("<TestPostDataWebServiceCallWithProxy> Checking Connection Proxy..."))
        checks.append(QStringLiteral("POST"));
    }
    checksRead_ = entries.size();
    return checks;
  }

  static QStringList Boxes() {
    QStringList texts;
    for (const auto& box : MessageBoxRecorder::Global().shown()) {
      EXPECT_EQ(box.caption, QStringLiteral("Tarnwick Plus Lite"));
      texts.append(box.text);
    }
    MessageBoxRecorder::Global().Clear();
    return texts;
  }

  static testsupport::WebServiceDouble* service_;
  std::unique_ptr<CLogFile> log_;
  qsizetype checksRead_ = 0;
};

testsupport::WebServiceDouble* ProxySettings::service_ = nullptr;

}  // namespace

TEST_F(ProxySettings, ATestedProxyIsStoredWithoutASecondTest) {
  CreateSettingsKey();
  auto dialog = OpenWithProxy();
  EXPECT_EQ(dialog->TestInternetConnection(), 1);
  EXPECT_EQ(Checks(), (QStringList{QStringLiteral("GET"), QStringLiteral("POST")}));
  ASSERT_EQ(MessageBoxRecorder::Global().shown().size(), 1);
  EXPECT_EQ(MessageBoxRecorder::Global().shown()[0].type, platform::MB_OK);
  EXPECT_EQ(Boxes(), QStringList{kConnected});
  Click(*dialog, "1");
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_TRUE(Checks().isEmpty()) << "OK after a test sends nothing";
  EXPECT_EQ(Methods().size(), 2) << "the test's two requests and none from OK";
  const std::optional<ConnSettings> stored = Stored();
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->proxyServer, QByteArray("127.0.0.1"));
  EXPECT_EQ(stored->proxyPort, service_->Port());
  EXPECT_EQ(stored->proxyUser, QByteArray());
  EXPECT_EQ(stored->useProxy, 1);
}

// What a user does with the mouse and the keyboard: every click given to the window where the
// control is, so that whatever lies on top there takes it.
TEST_F(ProxySettings, TheProxyControlsTakeAUsersClicksAndTyping) {
  CreateSettingsKey();
  CProxySettingsDlg dialog;
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  EXPECT_EQ(testsupport::Describe(testsupport::ControlsNotOnTop(dialog)), "");
  auto* use = dialog.findChild<QCheckBox*>(QStringLiteral("1183"));
  // On the box itself: the check box reaches far to the right of its text.
  const QPoint box(5, use->height() / 2);
  testsupport::ClickAsUser(*use, box);
  ASSERT_TRUE(use->isChecked());
  ASSERT_TRUE(Edit(dialog, "1055")->isEnabled());
  for (const auto& [id, typed] : {std::pair{"1055", QStringLiteral("127.0.0.1")},
                                  std::pair{"1185", QString::number(service_->Port())}}) {
    testsupport::ClickAsUser(*Edit(dialog, id));
    ASSERT_EQ(dialog.focusWidget(), Edit(dialog, id)) << id;
    Edit(dialog, id)->selectAll();
    QTest::keyClicks(dialog.focusWidget(), typed);
    EXPECT_EQ(Edit(dialog, id)->text(), typed);
  }
  testsupport::ClickAsUser(*dialog.findChild<CBMButton*>(QStringLiteral("1153")));
  EXPECT_EQ(Checks(), (QStringList{QStringLiteral("GET"), QStringLiteral("POST")}));
  EXPECT_EQ(Boxes(), QStringList{kConnected});
  testsupport::ClickAsUser(*use, box);
  EXPECT_FALSE(Edit(dialog, "1055")->isEnabled());
}

// A 407 repeats only the step that got it, with the credentials of the prompt; OK untested tests
// first and stores those credentials.
TEST_F(ProxySettings, TheProxysDemandRepeatsOnlyTheStepThatGotIt) {
  struct Case {
    QStringList demandedFor;
    QStringList methods;
  };
  const QString get = QStringLiteral("GET");
  const QString post = QStringLiteral("POST");
  for (const Case& c : {Case{{get}, {get, get, post}}, Case{{post}, {get, post, post}},
                        Case{{get, post}, {get, get, post}}}) {
    CreateSettingsKey();
    ASSERT_EQ(GetRegistryHandler()->WriteConnSettings(ConnSettings()), 0) << "no stored proxy and credentials";
    service_->DemandProxyCredentials(QStringLiteral("pat"), QStringLiteral("s3cret"), c.demandedFor);
    auto dialog = OpenWithProxy();
    const PromptAnswers answers({std::pair{QStringLiteral("pat"), QStringLiteral("s3cret")}});
    Click(*dialog, "1");
    EXPECT_EQ(dialog->result(), QDialog::Accepted) << c.demandedFor.join(u',').toStdString();
    EXPECT_EQ(answers.asked(), 1);
    EXPECT_EQ(Checks(), c.methods) << c.demandedFor.join(u',').toStdString();
    EXPECT_EQ(Boxes(), QStringList{kConnected});
    const std::optional<ConnSettings> stored = Stored();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->proxyUser, QByteArray("pat"));
    EXPECT_EQ(stored->proxyPassword, QByteArray("s3cret"));
    EXPECT_EQ(stored->useProxy, 1);
  }
}

TEST_F(ProxySettings, WrongCredentialsAskAgainAndCancelEndsTheTest) {
  CreateSettingsKey();
  service_->DemandProxyCredentials(QStringLiteral("pat"), QStringLiteral("s3cret"));
  auto dialog = OpenWithProxy();
  const PromptAnswers answers({std::pair{QStringLiteral("pat"), QStringLiteral("wrong")}, Credentials()});
  Click(*dialog, "1");
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(answers.asked(), 2);
  EXPECT_EQ(Boxes(), QStringList{kProblem});
  EXPECT_FALSE(Stored()) << "nothing stored";
}

TEST_F(ProxySettings, AnEditAfterATestMakesOKTestWhatIsShown) {
  CreateSettingsKey();
  auto dialog = OpenWithProxy();
  ASSERT_EQ(dialog->TestInternetConnection(), 1);
  Methods();
  Checks();
  Edit(*dialog, "1055")->setText(QStringLiteral("localhost"));
  Click(*dialog, "1");
  EXPECT_EQ(Checks(), (QStringList{QStringLiteral("GET"), QStringLiteral("POST")}));
  const std::optional<ConnSettings> stored = Stored();
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->proxyServer, QByteArray("localhost"));
}

TEST_F(ProxySettings, TheStoredProxysCredentialsServeItsTest) {
  StoreProxy(1);
  service_->DemandProxyCredentials(QStringLiteral("stored"), QStringLiteral("pw"));
  CProxySettingsDlg dialog;
  EXPECT_TRUE(dialog.findChild<QCheckBox*>(QStringLiteral("1183"))->isChecked());
  EXPECT_EQ(Edit(dialog, "1055")->text(), QStringLiteral("127.0.0.1"));
  const PromptAnswers answers({});
  EXPECT_EQ(dialog.TestInternetConnection(), 1);
  EXPECT_EQ(answers.asked(), 0);
  EXPECT_EQ(Checks(), (QStringList{QStringLiteral("GET"), QStringLiteral("POST")}));
}

TEST_F(ProxySettings, TurningTheProxyOffWritesOnlyWhenItWasOn) {
  CreateSettingsKey();
  {
    CProxySettingsDlg dialog;
    EXPECT_FALSE(Edit(dialog, "1055")->isEnabled());
    EXPECT_EQ(Edit(dialog, "1185")->text(), QStringLiteral("0"));
    Click(dialog, "1");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(Stored()) << "off and off: nothing written";
  }
  StoreProxy(1);
  CProxySettingsDlg dialog;
  dialog.show();
  auto* use = dialog.findChild<QCheckBox*>(QStringLiteral("1183"));
  QTest::mouseClick(use, Qt::LeftButton, {}, QPoint(5, use->height() / 2));
  EXPECT_FALSE(Edit(dialog, "1055")->isEnabled());
  Click(dialog, "1");
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  const std::optional<ConnSettings> stored = Stored();
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->useProxy, 0);
  EXPECT_EQ(stored->proxyServer, QByteArray("127.0.0.1"));
  EXPECT_EQ(stored->proxyUser, QByteArray("stored"));
  EXPECT_EQ(stored->proxyPassword, QByteArray("pw"));
  EXPECT_TRUE(Methods().isEmpty());
}

// Each refusal is an information box before anything is sent; nothing is cut or stored.
TEST_F(ProxySettings, AddressAndPortAreCheckedInOrderBeforeAnyTest) {
  CreateSettingsKey();
  struct Case {
    QString address;
    QString port;
    QString box;
  };
  const QString validPort = QStringLiteral("Please enter a valid Proxy Server Port (1-65535).");
  const QList<Case> cases = {
      {QString(), QString(), QStringLiteral("Please enter Proxy Server IP Address.")},
      {QStringLiteral("proxy"), QString(), QStringLiteral("Please enter Proxy Server Port.")},
      {QString(128, u'a'), QStringLiteral("0"), QStringLiteral("Proxy Server IP Address is too long.")},
      {QString(64, u'\u00e9'), QStringLiteral("8080"), QStringLiteral("Proxy Server IP Address is too long.")},
      {QStringLiteral("proxy"), QStringLiteral("0"), validPort},
      {QStringLiteral("proxy"), QStringLiteral("65536"), validPort},
      {QStringLiteral("proxy"), QStringLiteral("99999999999"), validPort},
  };
  auto dialog = OpenWithProxy();
  for (const Case& c : cases) {
    Edit(*dialog, "1055")->setText(c.address);
    Edit(*dialog, "1185")->setText(c.port);
    Click(*dialog, "1");
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_EQ(MessageBoxRecorder::Global().shown().size(), 1) << c.box.toStdString();
    EXPECT_EQ(MessageBoxRecorder::Global().shown()[0].icon(), platform::MB_ICONINFORMATION);
    EXPECT_EQ(Boxes(), QStringList{c.box});
  }
  EXPECT_TRUE(Methods().isEmpty());
  EXPECT_FALSE(Stored());
  Edit(*dialog, "1185")->clear();
  QTest::keyClicks(Edit(*dialog, "1185"), QStringLiteral("8a0-"));
  EXPECT_EQ(Edit(*dialog, "1185")->text(), QStringLiteral("80")) << "digits only";
}

TEST_F(ProxySettings, OverlongCredentialsAreRefusedByThePrompt) {
  CProxyUserPassDlg prompt;
  EXPECT_EQ(prompt.windowTitle(), QStringLiteral("Proxy Authentication"));
  EXPECT_EQ(prompt.focusWidget(), Edit(prompt, "1055"));
  for (const auto& [user, password] : {std::pair{QString(64, u'u'), QStringLiteral("p")},
                                       std::pair{QStringLiteral("u"), QString(32, u'\u00e9')}}) {
    Edit(prompt, "1055")->setText(user);
    Edit(prompt, "1003")->setText(password);
    Click(prompt, "1");
    EXPECT_EQ(prompt.result(), 0);
    EXPECT_EQ(Boxes(), QStringList{QStringLiteral("Proxy User Name or Password is too long.")});
  }
  Edit(prompt, "1055")->setText(QString(63, u'u'));
  Edit(prompt, "1003")->setText(QString(31, u'\u00e9') + u'p');
  Click(prompt, "1");
  EXPECT_EQ(prompt.result(), QDialog::Accepted);
  EXPECT_EQ(prompt.GetUserName(), QString(63, u'u'));
}

TEST_F(ProxySettings, AFailedStoreKeepsTheDialogOpen) {
  auto dialog = OpenWithProxy();  // no settings key: the record cannot be written
  Click(*dialog, "1");
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), 0);
  EXPECT_EQ(Boxes(), (QStringList{kConnected, kProblem}));
  EXPECT_FALSE(Stored());
}
