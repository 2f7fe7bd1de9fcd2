#include "shared/soap/WebServiceAddress.h"

#include <QUrl>

bool SplitWebServiceAddress(const QString& address, WebServiceAddress* parts, int* error) {
  const QUrl url(address.trimmed(), QUrl::StrictMode);
  const QString scheme = url.scheme().toLower();
  if (!url.isValid() || scheme.isEmpty()) {
    *error = kErrorInvalidUrl;
    return false;
  }
  if (scheme != u"http" && scheme != u"https") {
    *error = kErrorUnrecognizedScheme;
    return false;
  }
  if (url.host().isEmpty()) {
    *error = kErrorInvalidUrl;
    return false;
  }
  parts->host = url.host(QUrl::FullyEncoded);
  parts->transport = scheme == u"https" ? platform::Transport::Tls : platform::Transport::Plain;
  parts->port = static_cast<uint16_t>(url.port(scheme == u"https" ? 443 : 80));
  parts->path = url.path(QUrl::FullyEncoded);
  if (url.hasQuery()) parts->path += u'?' + url.query(QUrl::FullyEncoded);
  if (parts->path.isEmpty()) parts->path = QStringLiteral("/");
  return true;
}

platform::Transport WebServiceTransport(const QString& address) {
  WebServiceAddress parts;
  int error = 0;
  return SplitWebServiceAddress(address, &parts, &error) ? parts.transport : platform::Transport::Plain;
}
