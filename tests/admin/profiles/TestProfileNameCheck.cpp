#include "admin/profiles/ProfileNameCheck.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString kEmpty = u"Please, Enter Profile Name."_s;
const QString kKeyword = u"Please, Enter proper Profile Name other than SQL Keywords."_s;
const QString kExists = u"Profile already exist with the same name. Please, Enter another Profile Name."_s;
const QString kDigit = u"Profile name must start with alphabetic character."_s;
const QString kSample = u"Profile with same name already exist at Device. Please, Enter another Profile Name."_s;
const QString kLength = u"Profile name length must be less than 32 characters. Please, Enter another Profile Name."_s;

struct NameCase {
  const char* label;
  QString name;
  QString editedName;
  QString table;      // the table page's answer
  QString procedure;  // the procedure page's answer
};

}  // namespace

TEST(ProfileNameCheck, BothPages) {
  const NameCase cases[] = {
      {"31 characters", QString(31, u'a'), {}, {}, {}},
      {"32 characters", QString(32, u'a'), {}, kLength, kLength},
      {"blanks around do not count", u"  "_s + QString(31, u'a') + u" "_s, {}, {}, {}},
      {"blank", u"   "_s, {}, kEmpty, kEmpty},
      {"digit first", u"1Orders"_s, {}, kDigit, kDigit},
      {"underscore first", u"_Orders"_s, {}, {}, {}},
      {"keyword", u"Select"_s, {}, kKeyword, kKeyword},
      {"keyword with quotes and points", u"'dr.op'"_s, {}, kKeyword, kKeyword},
      {"SampleDB", u"SampleDB"_s, {}, kSample, kSample},
      {"sampledb", u"sampledb"_s, {}, kSample, {}},
      {"existing name", u"Existing"_s, {}, kExists, kExists},
      {"existing name of another profile while editing", u"Existing"_s, u"Mine"_s, kExists, kExists},
      {"the edited profile's own name", u"Existing"_s, u"Existing"_s, {}, {}},
      {"keyword before the clash", u"from"_s, {}, kKeyword, kKeyword},
  };
  const auto exists = [](const QString& name) { return name == u"Existing"_s || name == u"from"_s; };
  for (const NameCase& c : cases) {
    EXPECT_EQ(CheckProfileName(c.name, ProfilePage::kTable, c.editedName, exists), c.table) << c.label;
    EXPECT_EQ(CheckProfileName(c.name, ProfilePage::kProcedure, c.editedName, exists), c.procedure) << c.label;
  }
}
