#include "setup/common/HostedPagesClient.h"

#include "platform/widgets/MessageBox.h"
#include "setup/common/AdminServiceExchange.h"
#include "setup/common/SetupProgress.h"
#include "shared/soap/SoapExchange.h"

#include <QUrl>

#include <utility>

namespace {

const QString kPagesFolder = QStringLiteral("/iPhoneSTarnwickPWPLite/");
const QString kCaption = QStringLiteral("Tarnwick Plus Lite");
const QString kConnectionProblem =
    QStringLiteral("Problem while installing Tarnwick Plus Lite, Please check internet connection");
constexpr qsizetype kMaxExceptionText = 1023;

QString Encoded(const QString& value) { return QString::fromLatin1(QUrl::toPercentEncoding(value)); }

QString DeviceTypeWord(int deviceType) {
  switch (deviceType) {
    case 1: return QStringLiteral("BlackBerry");
    case 2: return QStringLiteral("iPhone");
    case 3: return QStringLiteral("PocketPC");
    default: return QString();
  }
}

// The checkpoint lines of one fetch: the direct ones, or the proxy's with "<P>" in them.
class FetchLog {
 public:
  FetchLog(const SetupLogSink& log, bool viaProxy, bool exactLength)
      : log_(log), viaProxy_(viaProxy), exactLength_(exactLength) {}

  // "Problem in performing online activity " + the point; through the proxy "<P>" comes first,
  // with a blank after it before the points that have always had one.
  void Problem(const QString& point, bool blankAfterProxyMark = false) const {
    QString text = QStringLiteral("Problem in performing online activity");
    if (viaProxy_) {
      text += exactLength_ ? QStringLiteral("<P>") : QStringLiteral(" <P>");
      if (blankAfterProxyMark || exactLength_) text += u' ';
    } else {
      text += u' ';
    }
    log_(text + point);
  }
  void Activity(const QString& what) const {
    log_(QStringLiteral("Online activity ") + (viaProxy_ ? QStringLiteral("<P>") : QString()) + what);
  }
  void Start() const {
    log_(viaProxy_ ? QStringLiteral("Performing online activity <P>.") : QStringLiteral("Performing online activity."));
  }

 private:
  const SetupLogSink& log_;
  bool viaProxy_;
  bool exactLength_;
};

soap::ExchangeRequest PageRequest(const HostedPagesTarget& target, const QString& path, bool viaProxy) {
  soap::ExchangeRequest request;
  request.server = target.host;
  request.port = target.port;
  request.verb = QStringLiteral("GET");
  request.object = path;
  request.cache = platform::CachePolicy::Reload;
  request.transport = target.transport;
  if (viaProxy) {
    request.useProxy = true;
    request.proxyName = ProxyName(target.connection);
    request.proxyUser = QString::fromUtf8(target.connection.proxyUser);
    request.proxyPassword = QString::fromUtf8(target.connection.proxyPassword);
  }
  return request;
}

}  // namespace

CHostedPagesClient::CHostedPagesClient(HostedPagesTarget target, SetupLogSink log, SetupProgress* progress)
    : target_(std::move(target)), log_(std::move(log)), progress_(progress) {}

QString CHostedPagesClient::RegistrationPath(const QString& desktopName, const QString& devicePassword,
                                             const QString& deviceId, int deviceType) {
  return kPagesFolder + QStringLiteral("AddNewDesktop.asp?DesktopName=") + Encoded(desktopName) +
         QStringLiteral("&DevicePassword=") + Encoded(devicePassword) + QStringLiteral("&DeviceID=") +
         Encoded(deviceId) + QStringLiteral("&DeviceType=") + DeviceTypeWord(deviceType);
}

QString CHostedPagesClient::AvailabilityPath(const QString& computerName) {
  return kPagesFolder + QStringLiteral("UniqueDesktopName.asp?DesktopName=") + Encoded(computerName);
}

int CHostedPagesClient::AddNewDesktopOnline(const QString& desktopName, const QString& devicePassword,
                                            const QString& deviceId, int deviceType) {
  const QString path = RegistrationPath(desktopName, devicePassword, deviceId, deviceType);
  progress_->StepProgress(10);
  QString reply;
  uint32_t status = 0;
  const int fetched = target_.connection.useProxy == 1 ? PerformOnlineActivityWithProxy(path, &reply, &status)
                                                       : PerformOnlineActivity(path, &reply, &status);
  progress_->StepProgress(10);
  if (fetched != 1) {
    log_(QStringLiteral("Responce <> 200"));
    progress_->SetStatusText(kConnectionProblem);
    platform::MessageBox(nullptr, kConnectionProblem, kCaption, platform::MB_ICONERROR);
    return -2;
  }
  if (reply.contains(QStringLiteral("Success"))) {
    log_(QStringLiteral("Customer added successfully"));
    return 0;
  }
  if (reply.contains(QStringLiteral("InvalidDesktopName"))) {
    log_(QStringLiteral("Customer already exists"));
    platform::MessageBox(nullptr, QStringLiteral("Computer ID already present, Please try another"), kCaption,
                         platform::MB_ICONWARNING);
    return -1;
  }
  if (reply.contains(QStringLiteral("InvalidDeviceID"))) {
    log_(QStringLiteral("Device ID already exists"));
    platform::MessageBox(nullptr,
                         QStringLiteral("Device ID is already in use, Please contact Morvant at support@morvant.example."),
                         kCaption, platform::MB_ICONWARNING);
    return -1;
  }
  log_(QStringLiteral("Problm while adding user"));
  log_(reply);
  progress_->SetStatusText(kConnectionProblem);
  platform::MessageBox(nullptr, kConnectionProblem, kCaption, platform::MB_ICONERROR);
  return -1;
}

int CHostedPagesClient::PerformOnlineActivity(const QString& path, QString* reply, uint32_t* status) {
  return Get(path, false, false, reply, status);
}

int CHostedPagesClient::PerformOnlineActivityWithProxy(const QString& path, QString* reply, uint32_t* status) {
  return Get(path, true, false, reply, status);
}

int CHostedPagesClient::CheckAvailability(const QString& computerName, QString* reply) {
  uint32_t status = 0;
  return Get(AvailabilityPath(computerName), target_.connection.useProxy == 1, true, reply, &status);
}

int CHostedPagesClient::Get(const QString& path, bool viaProxy, bool exactLength, QString* reply, uint32_t* status) {
  const FetchLog log(log_, viaProxy, exactLength);
  log.Start();
  *status = 0;
  const soap::ExchangeOutcome outcome = soap::Exchange(PageRequest(target_, path, viaProxy));
  // The bar moves at each stage the fetch reached without an exception: +4, +8, +10.
  const int reached = outcome.failure == soap::Failure::None ? 3
                      : static_cast<int>(outcome.step) + (outcome.failure == soap::Failure::NoObject ? 1 : 0);
  const int stageSteps[] = {4, 8, 10};
  for (int stage = 0; stage < reached; ++stage) progress_->StepProgress(stageSteps[stage]);
  if (outcome.failure == soap::Failure::NoObject) {
    const int step = static_cast<int>(outcome.step);
    log.Problem(QStringLiteral("<%1>.").arg(1 + 2 * step), step < 2);
    return -2 - step;
  }
  if (outcome.failure != soap::Failure::None) {
    const bool sending = outcome.step == soap::Step::Send;
    log.Problem((sending ? QStringLiteral("<4><") : QStringLiteral("<2><")) +
                    soap::ExceptionMessage(outcome).left(kMaxExceptionText) + QStringLiteral(">."),
                !sending);
    return sending ? -31 : -21;
  }
  platform::HttpFile* file = outcome.file.get();
  if (!file->QueryInfoStatusCode(status)) {
    log.Problem(QStringLiteral("<7>."));
    return -5;
  }
  if (*status != 200) {
    QString statusText;
    file->QueryInfo(platform::HttpInfo::StatusText, &statusText);
    log.Problem(QStringLiteral("<8><") + statusText + QStringLiteral(">."));
    log.Problem(QStringLiteral("<8.1><") + QString::fromUtf8(soap::ReadAnswer(file)) + QStringLiteral(">."));
    return -1;
  }
  QString contentLength;
  const bool lengthKnown = file->QueryInfo(platform::HttpInfo::ContentLength, &contentLength);
  if (!lengthKnown) log.Problem(QStringLiteral("<8.2> : <%1>").arg(file->LastError()));
  if (exactLength && !lengthKnown) return -111;
  if (exactLength && contentLength.toLongLong() < 1) {
    log.Problem(QStringLiteral("<9> : <F L :%1><Status :%2>").arg(contentLength.toLongLong()).arg(*status));
    return -1;
  }
  log.Activity(QStringLiteral("<8.2> Length of file : %1").arg(file->GetLength()));
  const QByteArray bytes = soap::ReadAnswer(file);
  log.Activity(QStringLiteral("<8.2> Size : %1").arg(bytes.size()));
  *reply = QString::fromUtf8(bytes);
  progress_->StepProgress(10);
  return 1;
}
