#pragma once

#include "tests/support/DoubleProcess.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace testsupport {

// How the double is spoken to.
enum class DoubleTransport {
  Http,
  Tls,            // HTTPS, with a certificate of a test authority (AuthorityFile)
  TlsSelfSigned,  // HTTPS, with a self-signed certificate no one trusts
};

// The hosted web service's test double (webservice_double.py) in a child process on a free
// loopback port, driven through its JSON-lines control interface. Stopped with the object. It
// also serves the hosted pages and relays proxy requests for other hosts.
class WebServiceDouble {
 public:
  explicit WebServiceDouble(DoubleTransport transport = DoubleTransport::Http);

  // False, with the reason in Error(), when the double did not come up.
  bool Started() const { return port_ != 0; }
  QString Error() const { return error_; }

  uint16_t Port() const { return port_; }
  // "http://127.0.0.1:<port>" + path (https for a TLS double): the web-service address the
  // programs are given.
  QString Url(const QString& path = QStringLiteral("/svc/")) const;
  // The PEM file of the authority that signed a Tls double's certificate; empty otherwise. It
  // lives as long as the double.
  QString AuthorityFile() const { return authorityFile_; }
  // A loopback port whose connection attempts are never answered; 0 when the double made none.
  uint16_t StalledPort();

  // One command and its answer; {"ok": false, "error": ...} when the double did not answer.
  QJsonObject Command(const QJsonObject& command);

  // Answers `operation` with the fault `kind` (see the double) from now on; `extra` adds fields
  // such as "reason", "status", "text" or "seconds".
  void SetFault(const QString& operation, const QString& kind, const QJsonObject& extra = {});
  // As a proxy, answers 407 to the requests of `methods` that lack these credentials.
  void DemandProxyCredentials(const QString& user, const QString& password,
                              const QStringList& methods = {QStringLiteral("GET"), QStringLiteral("POST")});
  // The plain stream the next GetDataForDesktop hands out, sealed by the double.
  void QueueStream(const QByteArray& stream);
  // The next GetDataForDesktop result text as it stands.
  void QueueRaw(const QString& resultText);

  QJsonArray Received();
  QJsonArray Requests();
  // Clears faults, proxy credentials, queued streams, records and the device.
  void Reset();
  // The double's own time answering POST requests (their bodies read) since it started or was
  // reset, in seconds.
  double BusySeconds();

  // The hosted pages' register of desktop names: {name: {the registration's query fields}}.
  QJsonObject Pages();
  void EnterDesktop(const QString& name);

  // The device side: every SendData buffer is decoded and kept as a device would hold it.
  struct SeededRecord {
    int32_t source = 0;
    int32_t index = 0;
    QByteArray deviceRecord;
  };
  // A profile the device already holds in step, with records of the given column kinds.
  void SeedProfile(int32_t profileId, const QList<int16_t>& kinds, const QList<SeededRecord>& records);
  // {"profiles": {id: {..., "records": [{"source", "index", "hex", "values"}]}}, "forms", "log"}.
  QJsonObject Device();

  // An edit made on the device: "add", "update" (with the record's values by the profile's
  // column kinds: texts, numbers, [y, m, d, h, min, s, fraction] or null) or "delete". The next
  // GetDataForDesktop without a queued stream hands out every waiting edit, `copies` times each;
  // the device takes an edit in when its acknowledgement says "Synced".
  void QueueDeviceEdit(const QString& operation, int32_t profileId, int32_t source, int32_t index,
                       const QJsonArray& values = {}, int copies = 1);
  // Every acknowledgement the desktop sent, in order: {"profile", "source", "index", "code", "text"}.
  QJsonArray Acks();
  // Every message the device refused, as the reason; empty when all were well formed.
  QStringList DeviceErrors();

  // Envelope work done by the double's own code.
  QString Seal(const QString& label, const QByteArray& plain, bool framed,
               const QJsonObject& fixedMaterial = {});
  std::optional<QByteArray> Open(const QString& label, const QString& envelope, bool framed,
                                 QString* error = nullptr);

 private:
  DoubleProcess process_;
  DoubleTransport transport_;
  uint16_t port_ = 0;
  QString authorityFile_;
  QString error_;
};

// Has the HTTP layer trust a TLS double's test authority for as long as it lives.
class TrustedTestAuthority {
 public:
  explicit TrustedTestAuthority(const QString& pemFile);
  ~TrustedTestAuthority();
  TrustedTestAuthority(const TrustedTestAuthority&) = delete;
  TrustedTestAuthority& operator=(const TrustedTestAuthority&) = delete;
};

}  // namespace testsupport
