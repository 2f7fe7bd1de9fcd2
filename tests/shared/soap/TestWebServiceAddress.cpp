#include "shared/soap/WebServiceAddress.h"

#include <gtest/gtest.h>

TEST(WebServiceAddress, SplitsHostPortAndPath) {
  struct Case {
    const char* address;
    const char* host;
    uint16_t port;
    const char* path;
  };
  const Case cases[] = {
      {"http://ws.example.com/TarnwickWS/", "ws.example.com", 80, "/TarnwickWS/"},
      {"https://ws.example.com/a/b/", "ws.example.com", 443, "/a/b/"},
      {"HTTP://WS.example.com:8080/x/", "ws.example.com", 8080, "/x/"},
      {"http://127.0.0.1:5000/", "127.0.0.1", 5000, "/"},
      {"http://ws.example.com", "ws.example.com", 80, "/"},
      {"http://ws.example.com/a%20b/", "ws.example.com", 80, "/a%20b/"},
  };
  for (const Case& c : cases) {
    WebServiceAddress parts;
    int error = 0;
    ASSERT_TRUE(SplitWebServiceAddress(QString::fromLatin1(c.address), &parts, &error)) << c.address;
    EXPECT_EQ(parts.host, QString::fromLatin1(c.host)) << c.address;
    EXPECT_EQ(parts.port, c.port) << c.address;
    EXPECT_EQ(parts.path, QString::fromLatin1(c.path)) << c.address;
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
