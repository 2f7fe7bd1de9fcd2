#include "shared/soap/WebServiceAddress.h"

#include <gtest/gtest.h>

using platform::Transport;

TEST(WebServiceAddress, SplitsHostPortPathAndTransport) {
  struct Case {
    const char* address;
    const char* host;
    uint16_t port;
    const char* path;
    Transport transport;
  };
  const Case cases[] = {
      {"http://ws.example.com/TarnwickWS/", "ws.example.com", 80, "/TarnwickWS/", Transport::Plain},
      {"https://ws.example.com/a/b/", "ws.example.com", 443, "/a/b/", Transport::Tls},
      {"HTTPS://ws.example.com:8443/a/", "ws.example.com", 8443, "/a/", Transport::Tls},
      {"HTTP://WS.example.com:8080/x/", "ws.example.com", 8080, "/x/", Transport::Plain},
      {"http://127.0.0.1:5000/", "127.0.0.1", 5000, "/", Transport::Plain},
      {"http://ws.example.com", "ws.example.com", 80, "/", Transport::Plain},
      {"http://ws.example.com/a%20b/", "ws.example.com", 80, "/a%20b/", Transport::Plain},
  };
  for (const Case& c : cases) {
    WebServiceAddress parts;
    int error = 0;
    ASSERT_TRUE(SplitWebServiceAddress(QString::fromLatin1(c.address), &parts, &error)) << c.address;
    EXPECT_EQ(parts.host, QString::fromLatin1(c.host)) << c.address;
    EXPECT_EQ(parts.port, c.port) << c.address;
    EXPECT_EQ(parts.path, QString::fromLatin1(c.path)) << c.address;
    EXPECT_EQ(parts.transport, c.transport) << c.address;
    EXPECT_EQ(WebServiceTransport(QString::fromLatin1(c.address)), c.transport) << c.address;
  }
}

TEST(WebServiceAddress, RefusesWhatIsNoHttpAddress) {
  struct Case {
    const char* address;
    int error;
  };
  const Case cases[] = {
      {"ftp://ws.example.com/", kErrorUnrecognizedScheme},
      {"ws.example.com/path/", kErrorInvalidUrl},
      {"", kErrorInvalidUrl},
      {"http:///path/", kErrorInvalidUrl},
      {"http://ws.example.com:99999/", kErrorInvalidUrl},
  };
  for (const Case& c : cases) {
    WebServiceAddress parts;
    int error = 0;
    EXPECT_FALSE(SplitWebServiceAddress(QString::fromLatin1(c.address), &parts, &error)) << c.address;
    EXPECT_EQ(error, c.error) << c.address;
  }
}
