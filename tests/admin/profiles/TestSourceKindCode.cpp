// The source kind code of a chosen file, from its extension.
#include "shared/data/SourceKinds.h"

#include <gtest/gtest.h>

TEST(SourceKindCode, FollowsTheExtensionWithoutRegardToCase) {
  const struct {
    const char* path;
    int code;
    bool folder;
    bool workbook;
  } cases[] = {
      {"/data/MyData.MDB", 1, false, false},   {"/data/book.xls", 2, false, true},
      {"/data/customer.dbf", 3, true, false},  {"/data/notes.TXT", 4, true, false},
      {"/data/list.csv", 5, true, false},      {"/data/new.accdb", 6, false, false},
      {"/data/book.xlsx", 7, false, true},     {"/data/macro.XLSM", 8, false, true},
      {"/data/binary.xlsb", 9, false, true},   {"/data/contacts.fp7", 10, false, false},
      {"/data/picture.foo", 11, false, false}, {"/data/no-extension", 11, false, false},
      {"/data.mdb/file", 11, false, false},    {"/data/archive.mdb.bak", 11, false, false},
  };
  for (const auto& entry : cases) {
    const uint8_t code = SourceKindOfFile(QString::fromLatin1(entry.path));
    EXPECT_EQ(code, entry.code) << entry.path;
    EXPECT_EQ(IsFolderSourceKind(code), entry.folder) << entry.path;
    EXPECT_EQ(IsWorkbookFileKind(code), entry.workbook) << entry.path;
  }
}
