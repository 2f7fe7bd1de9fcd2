#include "platform/os/Internet.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <mutex>

namespace platform {

namespace {

constexpr qsizetype kMaxErrorMessage = 1023;
constexpr long kProxyAuthenticationRequired = 407;

struct CurlDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using CurlHandle = std::unique_ptr<CURL, CurlDeleter>;

struct MultiDeleter {
  void operator()(CURLM* handle) const { curl_multi_cleanup(handle); }
};
using MultiHandle = std::unique_ptr<CURLM, MultiDeleter>;

struct HeaderListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, HeaderListDeleter>;

void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool Append(HeaderList* list, const QByteArray& line) {
  curl_slist* grown = curl_slist_append(list->get(), line.constData());
  if (!grown) return false;
  (void)list->release();
  list->reset(grown);
  return true;
}

QByteArray HostForUrl(const QString& host) {
  // A literal IPv6 address needs brackets inside a URL.
  return host.contains(QLatin1Char(':')) ? "[" + host.toUtf8() + "]" : host.toUtf8();
}

class TestAuthority {
 public:
  void Set(const QString& pemFile) {
    const std::lock_guard<std::mutex> guard(mutex_);
    file_ = pemFile.toUtf8();
  }
  QByteArray Get() const {
    const std::lock_guard<std::mutex> guard(mutex_);
    return file_;
  }

 private:
  mutable std::mutex mutex_;
  QByteArray file_;
};

TestAuthority& TestAuthorityFile() {
  static TestAuthority authority;
  return authority;
}

}  // namespace

void UseTestCertificateAuthority(const QString& pemFile) { TestAuthorityFile().Set(pemFile); }

InternetException::InternetException(const QString& message)
    : std::runtime_error(message.left(kMaxErrorMessage).toStdString()) {}

QString InternetException::ErrorMessage() const { return QString::fromStdString(what()); }

InternetSession::InternetSession() { InitCurlOnce(); }

InternetSession::InternetSession(const QString& proxyName, const QString& proxyUser,
                                 const QString& proxyPassword) {
  InitCurlOnce();
  settings_.useProxy = true;
  settings_.proxyName = proxyName;
  settings_.proxyUser = proxyUser;
  settings_.proxyPassword = proxyPassword;
}

std::unique_ptr<HttpConnection> InternetSession::GetHttpConnection(const QString& server,
                                                                   uint16_t port,
                                                                   const QString& user,
                                                                   const QString& password) const {
  if (server.isEmpty()) throw InternetException(QStringLiteral("The server name is empty."));
  return std::make_unique<HttpConnection>(settings_, server, port, user, password);
}

HttpConnection::HttpConnection(SessionSettings settings, QString server, uint16_t port,
                               QString user, QString password)
    : settings_(std::move(settings)),
      server_(std::move(server)),
      port_(port),
      user_(std::move(user)),
      password_(std::move(password)) {}

struct HttpFile::Request {
  CurlHandle handle;
  SessionSettings settings;
  QByteArray url;
  QByteArray verb;
  QString user;
  QString password;
  CachePolicy cache = CachePolicy::Normal;
  Transport transport = Transport::Plain;
};

std::unique_ptr<HttpFile> HttpConnection::OpenRequest(const QString& verb, const QString& object,
                                                      CachePolicy cache, Transport transport) const {
  CurlHandle handle(curl_easy_init());
  if (!handle) return nullptr;
  auto request = std::make_unique<HttpFile::Request>();
  request->handle = std::move(handle);
  request->settings = settings_;
  const QString path = object.startsWith(QLatin1Char('/')) ? object : QLatin1Char('/') + object;
  const QByteArray scheme = transport == Transport::Tls ? "https://" : "http://";
  request->url = scheme + HostForUrl(server_) + ":" + QByteArray::number(port_) + path.toUtf8();
  request->verb = verb.toUtf8();
  request->user = user_;
  request->password = password_;
  request->cache = cache;
  request->transport = transport;
  return std::make_unique<HttpFile>(std::move(request));
}

HttpFile::HttpFile(std::unique_ptr<Request> request) : request_(std::move(request)) {}

HttpFile::~HttpFile() = default;

namespace {

struct Receiver {
  QByteArray* answer;
  QByteArrayList* headerLines;
  bool tooLarge = false;
};

size_t ReceiveBody(char* data, size_t size, size_t count, void* context) {
  auto* receiver = static_cast<Receiver*>(context);
  const size_t bytes = size * count;
  if (static_cast<qint64>(receiver->answer->size()) + static_cast<qint64>(bytes) > kMaxAnswerBytes) {
    receiver->tooLarge = true;
    return 0;  // ends the transfer
  }
  receiver->answer->append(data, static_cast<qsizetype>(bytes));
  return bytes;
}

size_t ReceiveHeader(char* data, size_t size, size_t count, void* context) {
  auto* receiver = static_cast<Receiver*>(context);
  const size_t bytes = size * count;
  QByteArray line(data, static_cast<qsizetype>(bytes));
  while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
  // A new status line starts the head of a new answer (after a proxy's 407 or a 100 Continue).
  if (line.startsWith("HTTP/")) receiver->headerLines->clear();
  if (!line.isEmpty()) receiver->headerLines->append(line);
  return bytes;
}

// A run of curl_easy_setopt calls; ok() turns false at the first one that fails. libcurl copies
// the texts it is given, so they need not outlive the call.
class CurlOptions {
 public:
  explicit CurlOptions(CURL* curl) : curl_(curl) {}

  template <typename Value>
  void Set(CURLoption option, Value value) {
    Check(curl_easy_setopt(curl_, option, value) == CURLE_OK);
  }
  void Check(bool done) { ok_ = ok_ && done; }
  bool ok() const { return ok_; }

 private:
  CURL* curl_;
  bool ok_ = true;
};

void SetTransferOptions(CurlOptions* options, const QByteArray& url, const SessionSettings& settings) {
  options->Set(CURLOPT_URL, url.constData());
  options->Set(CURLOPT_NOSIGNAL, 1L);
  options->Set(CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(kConnectTimeoutMs));
  options->Set(CURLOPT_TIMEOUT_MS, static_cast<long>(std::max(1, settings.receiveTimeoutMs)));
}

// Verification is libcurl's default; it is set all the same, so that no default of a build can
// turn it off.
void SetTlsOptions(CurlOptions* options, Transport transport) {
  if (transport != Transport::Tls) return;
  options->Set(CURLOPT_SSL_VERIFYPEER, 1L);
  options->Set(CURLOPT_SSL_VERIFYHOST, 2L);
  const QByteArray authority = TestAuthorityFile().Get();
  if (!authority.isEmpty()) options->Set(CURLOPT_CAINFO, authority.constData());
}

void SetProxyOptions(CurlOptions* options, const SessionSettings& settings) {
  if (!settings.useProxy) return;
  options->Set(CURLOPT_PROXY, QByteArray("http://" + settings.proxyName.toUtf8()).constData());
  options->Set(CURLOPT_NOPROXY, "");  // the named proxy serves every host
  if (settings.proxyUser.isEmpty() && settings.proxyPassword.isEmpty()) return;
  options->Set(CURLOPT_PROXYUSERNAME, settings.proxyUser.toUtf8().constData());
  options->Set(CURLOPT_PROXYPASSWORD, settings.proxyPassword.toUtf8().constData());
  options->Set(CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_ANY));
}

void SetServerCredentials(CurlOptions* options, const QString& user, const QString& password) {
  if (user.isEmpty() && password.isEmpty()) return;
  options->Set(CURLOPT_USERNAME, user.toUtf8().constData());
  options->Set(CURLOPT_PASSWORD, password.toUtf8().constData());
  options->Set(CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_ANY));
}

// The body is not copied by libcurl: it must live until the transfer is done.
void SetVerbAndBody(CurlOptions* options, const QByteArray& verb, const QByteArray& body) {
  if (verb == "GET") {
    options->Set(CURLOPT_HTTPGET, 1L);
    return;
  }
  if (verb != "POST") options->Set(CURLOPT_CUSTOMREQUEST, verb.constData());
  options->Set(CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
  options->Set(CURLOPT_POSTFIELDS, body.constData());
}

// The caller's lines as given; no Expect: 100-continue and no Accept line of our own.
bool RequestHeaders(const QByteArray& headers, CachePolicy cache, HeaderList* list) {
  for (const QByteArray& line : headers.split('\n')) {
    const QByteArray trimmed = line.endsWith('\r') ? line.chopped(1) : line;
    if (!trimmed.isEmpty() && !Append(list, trimmed)) return false;
  }
  if (!Append(list, "Expect:") || !Append(list, "Accept:")) return false;
  return cache != CachePolicy::Reload ||
         (Append(list, "Cache-Control: no-cache") && Append(list, "Pragma: no-cache"));
}

// Calls the abandon check at most once per kAbandonCheckIntervalMs.
class AbandonWatch {
 public:
  explicit AbandonWatch(const std::function<bool()>& check) : check_(check) {}

  bool Abandoned() {
    if (!check_) return false;
    const auto now = std::chrono::steady_clock::now();
    if (now < next_) return false;
    next_ = now + std::chrono::milliseconds(kAbandonCheckIntervalMs);
    return check_();
  }

 private:
  const std::function<bool()>& check_;
  std::chrono::steady_clock::time_point next_{};
};

// The handle stays in the multi stack only while it is performed.
class MultiTransfer {
 public:
  MultiTransfer(CURLM* multi, CURL* curl)
      : multi_(multi), curl_(curl), added_(curl_multi_add_handle(multi, curl) == CURLM_OK) {}
  ~MultiTransfer() {
    if (added_) curl_multi_remove_handle(multi_, curl_);
  }
  MultiTransfer(const MultiTransfer&) = delete;
  MultiTransfer& operator=(const MultiTransfer&) = delete;
  bool added() const { return added_; }

 private:
  CURLM* multi_;
  CURL* curl_;
  bool added_;
};

// The transfer's own result once it is done.
CURLcode FinishedResult(CURLM* multi) {
  int queued = 0;
  while (const CURLMsg* message = curl_multi_info_read(multi, &queued)) {
    if (message->msg == CURLMSG_DONE) return message->data.result;
  }
  return CURLE_FAILED_INIT;
}

bool TunnelRefusedForCredentials(CURL* curl) {
  long connectCode = 0;
  return curl_easy_getinfo(curl, CURLINFO_HTTP_CONNECTCODE, &connectCode) == CURLE_OK &&
         connectCode == kProxyAuthenticationRequired;
}

// Whether the transfer got past connecting: the request is then going out.
bool RequestStarted(CURL* curl) {
  curl_off_t pretransfer = 0;
  return curl_easy_getinfo(curl, CURLINFO_PRETRANSFER_TIME_T, &pretransfer) == CURLE_OK && pretransfer > 0;
}

// Performs the transfer, looking at the abandon check between waits, so that an exchange ends
// soon after it is asked to, whatever the server does (unless `abandonOnceSent` is false and the
// request is already going out).
CURLcode Perform(CURL* curl, const std::function<bool()>& abandon, bool abandonOnceSent, bool* abandoned) {
  const MultiHandle multi(curl_multi_init());
  if (!multi) return CURLE_OUT_OF_MEMORY;
  const MultiTransfer transfer(multi.get(), curl);
  if (!transfer.added()) return CURLE_FAILED_INIT;
  AbandonWatch watch(abandon);
  // Asked before the first step too: a stop that came before the exchange starts none.
  for (int running = 1;;) {
    if ((abandonOnceSent || !RequestStarted(curl)) && watch.Abandoned()) {
      *abandoned = true;
      return CURLE_ABORTED_BY_CALLBACK;
    }
    if (curl_multi_perform(multi.get(), &running) != CURLM_OK) return CURLE_FAILED_INIT;
    if (running == 0) return FinishedResult(multi.get());
    if (curl_multi_poll(multi.get(), nullptr, 0, kAbandonCheckIntervalMs, nullptr) != CURLM_OK) {
      return CURLE_FAILED_INIT;
    }
  }
}

}  // namespace

bool HttpFile::SendRequest(const QByteArray& headers, const QByteArray& body) {
  CURL* curl = request_->handle.get();
  CurlOptions options(curl);
  SetTransferOptions(&options, request_->url, request_->settings);
  SetTlsOptions(&options, request_->transport);
  SetProxyOptions(&options, request_->settings);
  SetServerCredentials(&options, request_->user, request_->password);
  SetVerbAndBody(&options, request_->verb, body);
  // The list is read during the transfer: it lives until this call returns.
  HeaderList headerList;
  options.Check(RequestHeaders(headers, request_->cache, &headerList));
  options.Set(CURLOPT_HTTPHEADER, headerList.get());

  answer_.clear();
  headerLines_.clear();
  readOffset_ = 0;
  status_ = 0;
  requestWentOut_ = false;
  Receiver receiver{&answer_, &headerLines_};
  char errorText[CURL_ERROR_SIZE] = {};
  options.Set(CURLOPT_WRITEFUNCTION, ReceiveBody);
  options.Set(CURLOPT_WRITEDATA, static_cast<void*>(&receiver));
  options.Set(CURLOPT_HEADERFUNCTION, ReceiveHeader);
  options.Set(CURLOPT_HEADERDATA, static_cast<void*>(&receiver));
  options.Set(CURLOPT_ERRORBUFFER, errorText);
  if (!options.ok()) return false;

  bool abandoned = false;
  const CURLcode result =
      Perform(curl, request_->settings.abandon, request_->settings.abandonOnceSent, &abandoned);
  requestWentOut_ = RequestStarted(curl);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
  if (result != CURLE_OK && !abandoned && !receiver.tooLarge && TunnelRefusedForCredentials(curl)) {
    // The proxy's 407 to the CONNECT of an https address is its answer, as for a plain request.
    answer_.clear();
    status_ = kProxyAuthenticationRequired;
    return true;
  }
  if (receiver.tooLarge || result != CURLE_OK) {
    // A failed exchange leaves no part of an answer behind.
    answer_.clear();
    headerLines_.clear();
  }
  if (abandoned) throw InternetException(QStringLiteral("The exchange was abandoned."));
  if (receiver.tooLarge) {
    throw InternetException(QStringLiteral("The answer is longer than %1 bytes.").arg(kMaxAnswerBytes));
  }
  if (result != CURLE_OK) {
    const QString detail = QString::fromUtf8(errorText);
    const QString text = QString::fromUtf8(curl_easy_strerror(result));
    throw InternetException(detail.isEmpty() ? text : text + QStringLiteral(" (") + detail + QLatin1Char(')'));
  }
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status_);
  return true;
}

bool HttpFile::QueryInfoStatusCode(uint32_t* status) const {
  if (status_ <= 0) return false;
  *status = static_cast<uint32_t>(status_);
  return true;
}

bool HttpFile::QueryInfo(HttpInfo info, QString* value) {
  lastError_ = 0;
  if (!headerLines_.isEmpty()) {
    switch (info) {
      case HttpInfo::StatusText: {
        const QList<QByteArray> parts = headerLines_.first().split(' ');
        *value = QString::fromLatin1(parts.mid(2).join(' '));
        return true;
      }
      case HttpInfo::RawHeaders:
        *value = QString::fromLatin1(headerLines_.join("\r\n") + "\r\n");
        return true;
      case HttpInfo::ContentLength:
        for (const QByteArray& line : headerLines_) {
          if (line.toLower().startsWith("content-length:")) {
            *value = QString::fromLatin1(line.mid(static_cast<qsizetype>(std::strlen("content-length:"))).trimmed());
            return true;
          }
        }
        break;
    }
  }
  lastError_ = kErrorHttpHeaderNotFound;
  return false;
}

qint64 HttpFile::GetLength() const { return answer_.size() - readOffset_; }

qint64 HttpFile::Read(char* buffer, qint64 maximum) {
  const qint64 count = std::min(maximum, GetLength());
  if (count <= 0) return 0;
  std::memcpy(buffer, answer_.constData() + readOffset_, static_cast<size_t>(count));
  readOffset_ += count;
  return count;
}

}  // namespace platform
