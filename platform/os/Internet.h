#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <utility>

// HTTP and HTTPS exchanges in the session / connection / request shape the web-service callers
// are built on, over libcurl. Each step either returns its result or throws InternetException
// where a failure of the exchange itself (no route, refused, dropped, timed out, abandoned, a
// server certificate that does not verify) has to reach the caller's per-step handling. A
// request is performed whole by SendRequest; the answer is then held in memory and read in
// chunks.
namespace platform {

// The error a query for a header that the answer does not have leaves, with the number the
// callers' log readers know.
inline constexpr int kErrorHttpHeaderNotFound = 12150;

// The largest answer a request accepts; a longer one fails the exchange.
inline constexpr qint64 kMaxAnswerBytes = 64 * 1024 * 1024;
// Time allowed to reach the server (or proxy) before the exchange fails.
inline constexpr int kConnectTimeoutMs = 20'000;
// Time a whole exchange may take, connection and transfer included, unless the session sets its
// own: a server that trickles its answer is cut off as surely as a silent one.
inline constexpr int kDefaultReceiveTimeoutMs = 60'000;
// How often a running exchange asks its session's abandon check.
inline constexpr int kAbandonCheckIntervalMs = 100;

class InternetException : public std::runtime_error {
 public:
  explicit InternetException(const QString& message);
  // The description of the failure, at most 1023 characters.
  QString ErrorMessage() const;
};

enum class CachePolicy {
  Normal,
  Reload,  // ask every cache on the way, a proxy included, for a fresh answer
};

enum class Transport {
  Plain,  // HTTP
  Tls,    // HTTPS; the server's certificate is verified against the trusted authorities
};

enum class HttpInfo {
  ContentLength,
  StatusText,
  RawHeaders,  // the status line and the header lines of the answer, each ending in CR LF
};

// What a session hands on to its connections and requests.
struct SessionSettings {
  bool useProxy = false;
  QString proxyName;  // "host:port"
  QString proxyUser;
  QString proxyPassword;
  int receiveTimeoutMs = kDefaultReceiveTimeoutMs;
  std::function<bool()> abandon;  // true ends an exchange in progress; none: never
  // False: once the request started going out, only the answer or the time limit ends the
  // exchange, since the server may already have acted on it.
  bool abandonOnceSent = true;
};

// Servers are verified against the authorities in the PEM file `pemFile` from now on, besides
// the system's certificate store; an empty name goes back to the store alone. Only tests call
// it, for servers that carry a certificate of a test authority.
void UseTestCertificateAuthority(const QString& pemFile);

class HttpConnection;
class HttpFile;

class InternetSession {
 public:
  // Access as the system is set up (the environment's proxy settings, if any).
  InternetSession();
  // Access through the proxy "host:port"; user and password, when given, are the proxy's.
  InternetSession(const QString& proxyName, const QString& proxyUser, const QString& proxyPassword);

  void SetReceiveTimeout(int milliseconds) { settings_.receiveTimeoutMs = milliseconds; }
  // Asked every kAbandonCheckIntervalMs while an exchange runs; when it answers true, the
  // exchange ends with InternetException.
  void SetAbandonCheck(std::function<bool()> check) { settings_.abandon = std::move(check); }
  // Whether the check is still asked once the request started going out (it is by default).
  void SetAbandonOnceSent(bool abandon) { settings_.abandonOnceSent = abandon; }

  // A connection to server:port; user and password are the web server's own (empty for none).
  // Throws InternetException when the server name is empty.
  std::unique_ptr<HttpConnection> GetHttpConnection(const QString& server, uint16_t port,
                                                    const QString& user, const QString& password) const;

 private:
  SessionSettings settings_;
};

class HttpConnection {
 public:
  HttpConnection(SessionSettings settings, QString server, uint16_t port, QString user,
                 QString password);

  // A request of `verb` for `object` (the path on the server). Null when the HTTP layer cannot
  // make one.
  std::unique_ptr<HttpFile> OpenRequest(const QString& verb, const QString& object,
                                        CachePolicy cache = CachePolicy::Normal,
                                        Transport transport = Transport::Plain) const;

 private:
  SessionSettings settings_;
  QString server_;
  uint16_t port_;
  QString user_;
  QString password_;
};

class HttpFile {
 public:
  struct Request;  // what OpenRequest fixed, and the transfer handle
  explicit HttpFile(std::unique_ptr<Request> request);
  ~HttpFile();
  HttpFile(const HttpFile&) = delete;
  HttpFile& operator=(const HttpFile&) = delete;

  // Sends the request with the extra header lines (CR LF between lines) and the body, and
  // receives the whole answer. False when the request cannot be set up; throws
  // InternetException when the exchange fails.
  bool SendRequest(const QByteArray& headers, const QByteArray& body);
  // Whether the last SendRequest got as far as sending the request (the connection was made):
  // when it then failed, the server may or may not have acted on the request.
  bool RequestWentOut() const { return requestWentOut_; }

  // The answer's status code; false when no answer was received.
  bool QueryInfoStatusCode(uint32_t* status) const;
  // One piece of the answer's head; false (LastError kErrorHttpHeaderNotFound) when absent.
  bool QueryInfo(HttpInfo info, QString* value);
  int LastError() const { return lastError_; }

  // Bytes of the answer not read yet.
  qint64 GetLength() const;
  // Copies up to `maximum` bytes of the answer; 0 at its end.
  qint64 Read(char* buffer, qint64 maximum);

 private:
  std::unique_ptr<Request> request_;
  QByteArray answer_;
  QByteArrayList headerLines_;  // of the last answer head received
  bool requestWentOut_ = false;
  long status_ = 0;
  qint64 readOffset_ = 0;
  int lastError_ = 0;
};

}  // namespace platform
