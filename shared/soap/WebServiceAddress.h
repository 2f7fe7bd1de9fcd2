#pragma once

#include "platform/os/Internet.h"

#include <QString>

#include <cstdint>

// The parts of a web-service address that an HTTP request needs.
struct WebServiceAddress {
  QString host;
  QString path;        // from the first "/" after the host on, as written; "/" when there is none
  uint16_t port = 80;  // the address's own, else 80 for http and 443 for https
  platform::Transport transport = platform::Transport::Plain;  // TLS for https
};

// Error codes of a refused address, with the numbers of the Windows URL cracker.
inline constexpr int kErrorInvalidUrl = 12005;
inline constexpr int kErrorUnrecognizedScheme = 12006;

// Splits an http or https address; false with `error` set when it is not one.
bool SplitWebServiceAddress(const QString& address, WebServiceAddress* parts, int* error);

// The transport an address asks for: TLS for an https address, plain HTTP for any other.
platform::Transport WebServiceTransport(const QString& address);
