#include "setup/installer/PersonalInfoPage.h"
#include "tests/setup/installer/InstallerFixture.h"

#include <QLineEdit>
#include <QRadioButton>

namespace {

using installertest::InstallerPageTest;

const QString kUdid = QStringLiteral("0123456789abcdef0123456789ABCDEF01234567");

class DevicePageTest : public InstallerPageTest {
 protected:
  void Enter(const char* device, const QString& udid, const QString& confirmation) {
    if (device != nullptr) Control<QRadioButton>(&page_, device)->click();
    Control<QLineEdit>(&page_, "1012")->setText(udid);
    Control<QLineEdit>(&page_, "1036")->setText(confirmation);
  }
  void EnterValidDevice() { Enter("1050", kUdid, kUdid); }
  QString LastBox() const { return Boxes().isEmpty() ? QString() : Boxes().back().text; }

  CPersonalInfoPage page_{app_};
};

TEST_F(DevicePageTest, EntriesAreCheckedInOrderAndTheTrimmedUdidIsStored) {
  struct Case {
    const char* device;
    QString udid;
    QString confirmation;
    QString box;  // empty: accepted
    unsigned icon;
  };
  const QString note = CPersonalInfoPage::kUdidNote;
  const Case cases[] = {
      {nullptr, kUdid, kUdid, QStringLiteral("Please select Device Type."), platform::MB_ICONINFORMATION},
      {"1050", QStringLiteral("   "), kUdid, QStringLiteral("Please specify UDID"), platform::MB_ICONERROR},
      {"1050", kUdid, QStringLiteral(" "), QStringLiteral(" Please specify a UDID"), platform::MB_ICONERROR},
      {"1050", kUdid, kUdid.toLower(), QStringLiteral("Your UDID Entries Do Not Match."), platform::MB_ICONERROR},
      {"1050", kUdid.left(39), kUdid.left(39), note, platform::MB_ICONERROR},
      {"1050", kUdid + u'8', kUdid + u'8', note, platform::MB_ICONERROR},
      {"1050", kUdid.left(39) + u'\'', kUdid.left(39) + u'\'', note, platform::MB_ICONERROR},
      {"1050", kUdid.left(38) + QStringLiteral("é1"), kUdid.left(38) + QStringLiteral("é1"), note,
       platform::MB_ICONERROR},
      {"1050", kUdid.left(20) + u' ' + kUdid.mid(21), kUdid.left(20) + u' ' + kUdid.mid(21), note,
       platform::MB_ICONERROR},
      {"1050", QStringLiteral("  ") + kUdid + u'\t', kUdid + u' ', QString(), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.udid.toStdString());
    testsupport::MessageBoxRecorder::Global().Clear();
    Enter(c.device, c.udid, c.confirmation);
    EXPECT_EQ(page_.ValidateDeviceInfo(), c.box.isEmpty());
    if (c.box.isEmpty()) {
      EXPECT_TRUE(Boxes().isEmpty());
      continue;
    }
    ASSERT_EQ(Boxes().size(), 1);
    EXPECT_EQ(Boxes()[0].text, c.box);
    EXPECT_EQ(Boxes()[0].caption, QStringLiteral("Tarnwick Plus Lite"));
    EXPECT_EQ(Boxes()[0].icon(), c.icon);
    EXPECT_TRUE(app_.State().service.deviceId.isEmpty());
  }
  const InstallState& state = app_.State();
  EXPECT_EQ(state.service.deviceId, kUdid);
  EXPECT_EQ(state.service.desktopName, kUdid);
  EXPECT_EQ(state.deviceType, 2);

  Enter("1051", kUdid, kUdid);
  ASSERT_TRUE(page_.ValidateDeviceInfo());
  EXPECT_EQ(app_.State().deviceType, 4);
}

TEST_F(DevicePageTest, NextTakesTheWebServiceFromTheAdministrationServiceAndTestsIt) {
  EnterValidDevice();
  ASSERT_TRUE(page_.validatePage()) << LastBox().toStdString();
  const InstallState& state = app_.State();
  EXPECT_EQ(state.webServiceAddress, web_.Url(QStringLiteral("/svc/")));
  EXPECT_EQ(state.service.webService.host, QStringLiteral("127.0.0.1"));
  EXPECT_EQ(state.service.webService.port, web_.Port());
  EXPECT_EQ(state.service.webService.path, QStringLiteral("/svc/service.asmx"));
  EXPECT_TRUE(Boxes().isEmpty());
  QStringList paths;
  for (const QJsonValue& request : web_.Requests()) paths.append(request[QStringLiteral("requestLine")].toString());
  EXPECT_EQ(paths, QStringList({QStringLiteral("GET /svc/service.asmx/GetDataTest HTTP/1.1"),
                                QStringLiteral("POST /svc/service.asmx HTTP/1.1")}));
}

TEST_F(DevicePageTest, AnUnusableWebServiceAnswerKeepsThePage) {
  struct Case {
    const char* name;
    std::function<void()> arrange;
    QString box;
    QString logged;
  };
  const QString tooLong = web_.Url(QStringLiteral("/") + QString(250, u'p') + QStringLiteral("/service.asmx"));
  const Case cases[] = {
      {"refused",
       [this] {
         admin_.SetFault(QStringLiteral("GetWebUrl"), QStringLiteral("refuse"), 1,
                         {{QStringLiteral("status"), 1}, {QStringLiteral("message"), QStringLiteral("No")}});
       },
       QStringLiteral("Problem to Get Details from Admin Service"), QStringLiteral("Problem Get Web Service URL<1>")},
      {"failed", [this] { admin_.SetFault(QStringLiteral("GetWebUrl"), QStringLiteral("http500"), 1); },
       QStringLiteral("Problem to connect Admin Service, Please check internet connection"),
       QStringLiteral("Problem Get Web Service URL<2>")},
      {"too long", [this, tooLong] { admin_.SetWebServiceUrl(tooLong); },
       QStringLiteral("Problem to Get Details from Admin Service"), QStringLiteral("Problem Get Web Service URL<3>")},
      {"service down",
       [this] {
         admin_.SetWebServiceUrl(web_.Url(QStringLiteral("/svc/service.asmx")));
         web_.SetFault(QStringLiteral("GetDataTest"), QStringLiteral("http500"));
       },
       QStringLiteral("Problem in internet connection, if you using Proxy Server then select \"Use Proxy Server\" "
                      "option."),
       QStringLiteral("<OT> Fail to Connect to Service <Type 1> : 500")},
  };
  EnterValidDevice();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testsupport::MessageBoxRecorder::Global().Clear();
    app_.State().webServiceAddress.clear();
    c.arrange();
    EXPECT_FALSE(page_.validatePage());
    ASSERT_EQ(Boxes().size(), 1);
    EXPECT_EQ(Boxes()[0].text, c.box);
    EXPECT_TRUE(InstallLogged(c.logged));
    if (QByteArray(c.name) != "service down") {
      EXPECT_TRUE(app_.State().webServiceAddress.isEmpty());
    }
  }
}

}  // namespace
