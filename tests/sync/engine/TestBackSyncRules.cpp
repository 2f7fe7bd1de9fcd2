#include "sync/engine/BackSyncRules.h"

#include <gtest/gtest.h>

TEST(BackSyncRules, TheUserListNamesADeviceOnlyWhole) {
  struct Case {
    const char* userList;
    const char* deviceId;
    bool named;
  };
  const Case cases[] = {
      {"123,", "12", false},   {"123,12,", "12", true}, {"12", "12", true},  {"a,b", "b", true},
      {"", "", false},         {"a,,b", "", false},     {"AB,", "ab", false}, {"x12,", "12", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(UserListNamesDevice(QString::fromLatin1(c.userList), QString::fromLatin1(c.deviceId)), c.named)
        << c.userList << " / " << c.deviceId;
  }
}

TEST(BackSyncRules, TheWorksheetIsTheFileTheQueryReadsAfterItsFrom) {
  struct Case {
    const char* query;
    const char* sheet;
  };
  const Case cases[] = {
      {"Select * from \"Sheet1.txt\"", "Sheet1"},
      {"SELECT * FROM \"Orders.txt\" WHERE a = 1", "Orders"},
      {"Select \"from.x\" From \"Data Sheet.txt\"", "Data Sheet"},  // a quoted "from" is no keyword
      {"Select fromage From \"S.txt\"", "S"},
      {"Select * From Sheet1", ""},
      {"Select 1", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WorksheetNameOfQuery(QString::fromLatin1(c.query)), QString::fromLatin1(c.sheet)) << c.query;
  }
}

TEST(BackSyncRules, WorkbookProfilesAreKindEightOrReadFromACopy) {
  ProfileRecord profile;
  profile.DBType = QStringLiteral("1");
  profile.Path = profile.tempPath = QStringLiteral("/data/");
  EXPECT_FALSE(IsWorkbookProfileRecord(profile));
  profile.DBType = QStringLiteral("8");
  EXPECT_TRUE(IsWorkbookProfileRecord(profile));
  profile.DBType = QStringLiteral("7");
  profile.tempPath = QStringLiteral("/copy/");
  EXPECT_TRUE(IsWorkbookProfileRecord(profile));
}
