#include "setup/common/AdminServiceEndpoint.h"

#include <gtest/gtest.h>

namespace {

TEST(AdminServiceEndpoint, ReadsHostAndPortAndRefusesWhatIsNoEndpoint) {
  const struct {
    const char* text;
    bool read;
    const char* host;
    uint16_t port;
  } cases[] = {
      {"127.0.0.1:8081", true, "127.0.0.1", 8081}, {"admin.local", true, "admin.local", 80},
      {"h:65535", true, "h", 65535},                {"h:0", false, "", 0},
      {"h:65536", false, "", 0},                    {"h:8o", false, "", 0},
      {":8080", false, "", 0},                      {"h:", false, "", 0},
  };
  for (const auto& c : cases) {
    AdminEndpoint endpoint;
    endpoint.host = QStringLiteral("unchanged");
    EXPECT_EQ(ParseAdminEndpoint(QString::fromLatin1(c.text), &endpoint), c.read) << c.text;
    if (!c.read) {
      EXPECT_EQ(endpoint.host, QStringLiteral("unchanged")) << c.text;
      continue;
    }
    EXPECT_EQ(endpoint.host, QString::fromLatin1(c.host)) << c.text;
    EXPECT_EQ(endpoint.port, c.port) << c.text;
    EXPECT_EQ(endpoint.path, QStringLiteral("/AdminService/service.asmx"));
  }
}

TEST(AdminServiceEndpoint, TheVariableOverridesTheBuildSetting) {
  qunsetenv(kAdminServiceVariable);
  const AdminEndpoint built = DefaultAdminEndpoint();
  EXPECT_FALSE(built.host.isEmpty());
  EXPECT_EQ(built.port, 80);
  qputenv(kAdminServiceVariable, "127.0.0.1:18080");
  EXPECT_EQ(DefaultAdminEndpoint().host, QStringLiteral("127.0.0.1"));
  EXPECT_EQ(DefaultAdminEndpoint().port, 18080);
  qputenv(kAdminServiceVariable, "127.0.0.1:none");
  EXPECT_EQ(DefaultAdminEndpoint().host, built.host) << "a setting that is no endpoint is passed over";
  qunsetenv(kAdminServiceVariable);
}

}  // namespace
