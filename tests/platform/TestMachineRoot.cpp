#include "platform/os/MachineRoot.h"
#include "tests/support/FreshMachineRoot.h"

#include <gtest/gtest.h>

#include <QDir>

TEST(MachineRoot, EveryFolderLivesInsideTheTestsRoot) {
  const QString root = testsupport::CurrentMachineRoot();
  ASSERT_FALSE(root.isEmpty());
  EXPECT_EQ(platform::MachineRoot(), QDir::cleanPath(root));
  for (const QString& folder : {platform::RegistryFolder(), platform::RunFolder(),
                                platform::OdbcFolder(),
                                platform::SpecialFolderPath(platform::SpecialFolder::Desktop),
                                platform::SpecialFolderPath(platform::SpecialFolder::Startup)}) {
    EXPECT_TRUE(folder.startsWith(root)) << folder.toStdString();
    EXPECT_TRUE(QDir(folder).exists()) << folder.toStdString();
  }
}

TEST(MachineRoot, WithoutAnExplicitRootTheUsersDataFolderIsUsed) {
  const QByteArray saved = qgetenv("TARNWICK_MACHINE_ROOT");
  qunsetenv("TARNWICK_MACHINE_ROOT");
  EXPECT_EQ(platform::MachineRoot(), qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/tarnwick"));
  EXPECT_EQ(platform::SpecialFolderPath(platform::SpecialFolder::Startup),
            qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/autostart"));
  qputenv("TARNWICK_MACHINE_ROOT", saved);
}
