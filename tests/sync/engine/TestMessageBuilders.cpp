#include "sync/engine/BackSyncDigestMap.h"
#include "sync/engine/MessageBuilders.h"

#include <gtest/gtest.h>

using namespace messages;

TEST(MessageBuilders, FixedSizeMessagesHaveTheirWireBytes) {
  struct Case {
    const char* what;
    QByteArray message;
    const char* hex;
  };
  const Case cases[] = {
      {"Delete Profile 5", AddDeleteProfileMessage(5), "020005000000"},
      {"record strip head of profile 258", AddProfileDataHeader(258), "060002010000"},
      {"Finish Profile -1", AddFinishProfileMessage(-1), "1000ffffffff"},
      {"Delete Form 5", AddDeleteFormMessage(5), "160005000000"},
      {"first tab strip head of form 5", AddFormDataHeader(5, 1), "17000000000501000000"},
      {"continuing tab strip head of form 258", AddFormDataHeader(258, 0), "17000000010200000000"},
      {"Finish Form 7", AddFinishFormMessage(7), "180007000000"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.message.toHex(), QByteArray(c.hex)) << c.what;
  EXPECT_EQ((AddDeleteProfileMessage(1) + AddDeleteProfileMessage(2)).toHex(), QByteArray("020001000000020002000000"))
      << "messages follow each other with nothing between";
}

TEST(MessageBuilders, DeviceListsJoinUserIdsWithCommas) {
  ProfileDeviceList entry;
  EXPECT_TRUE(entry.deviceList.isEmpty());
  EXPECT_TRUE(entry.included);
  AppendProfileDeviceId(&entry, QStringLiteral("anna"));
  EXPECT_EQ(entry.deviceList, QStringLiteral("anna"));
  AppendProfileDeviceId(&entry, QStringLiteral("ben"));
  AppendProfileDeviceId(&entry, QStringLiteral("cleo"));
  EXPECT_EQ(entry.deviceList, QStringLiteral("anna,ben,cleo"));
}

TEST(BackSyncDigestMap, TheSameRowRecordedAgainGoesUnderTheNextFreeKey) {
  BackSyncDigestMap& map = BackSyncDigestMap::Instance();
  map.Clear();
  const QString digest(128, QLatin1Char('a'));
  for (int i = 0; i < 3; ++i) map.MakeStatusKey(7, digest);
  EXPECT_TRUE(map.Contains(7, digest));
  EXPECT_TRUE(map.Contains(7, digest + QStringLiteral("_1")));
  EXPECT_TRUE(map.Contains(7, digest + QStringLiteral("_2")));
  EXPECT_FALSE(map.Contains(7, digest + QStringLiteral("_3")));
  EXPECT_FALSE(map.Contains(8, digest)) << "keys carry the profile";
  map.Clear();
  EXPECT_FALSE(map.Contains(7, digest));
}
