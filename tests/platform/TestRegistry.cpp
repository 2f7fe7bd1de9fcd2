#include "platform/os/MachineRoot.h"
#include "platform/registry/Registry.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;

namespace {

QString HivePath() { return RegistryFolder() + QStringLiteral("/HKEY_LOCAL_MACHINE.reg"); }

QByteArray HiveText() {
  QFile file(HivePath());
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

RegistryValue Query(const QString& keyPath, const QString& name, LSTATUS* status = nullptr) {
  RegistryKeyGuard key;
  RegistryValue value;
  LSTATUS result = RegOpenKeyEx(HKEY_LOCAL_MACHINE, keyPath, KEY_READ, key.out());
  if (result == ERROR_SUCCESS) result = RegQueryValueEx(key.get(), name, &value);
  if (status != nullptr) *status = result;
  return value;
}

// The DWORD value; 0xFFFFFFFF when there is none.
DWORD QueryDword(const QString& keyPath, const QString& name) {
  DWORD number = 0xFFFFFFFF;
  Query(keyPath, name).ToDword(&number);
  return number;
}

void WriteHive(const QByteArray& content) {
  QFile file(HivePath());
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  ASSERT_EQ(file.write(content), content.size());
}

void Set(const QString& keyPath, const QString& name, const RegistryValue& value) {
  RegistryKeyGuard key;
  ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, keyPath, KEY_ALL_ACCESS, key.out()), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(key.get(), name, value), ERROR_SUCCESS);
}

// Increments the DWORD "Counter" `times` times, each under one lock.
void Increment(int times) {
  RegistryKeyGuard key;
  RegCreateKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Counters"), KEY_ALL_ACCESS, key.out());
  for (int i = 0; i < times; ++i) {
    RegUpdateValue(key.get(), QStringLiteral("Counter"), [](RegistryValue* value, bool exists) {
      DWORD number = 0;
      if (exists) value->ToDword(&number);
      *value = RegistryValue::FromDword(number + 1);
      return true;
    });
  }
}

}  // namespace

TEST(Registry, EveryValueTypeReadsBackByteForByte) {
  const RegistryValue values[] = {
      RegistryValue::FromString(QStringLiteral("C:\\Program Files\\\"quoted\"")),
      RegistryValue::FromString(QString()),
      RegistryValue::FromString(QStringLiteral("two\nlines, caf\u00e9 \u20ac")),
      RegistryValue::FromDword(0xDEADBEEF),
      RegistryValue::FromBinary(QByteArray("\x00\x01\xff\x7f", 4)),
      RegistryValue::FromBinary(QByteArray()),
      RegistryValue{REG_SZ, QByteArray("a\0b", 3)},  // no terminating zero, odd length
      RegistryValue{7, QByteArray("x\0\0\0", 4)},
  };
  for (size_t i = 0; i < std::size(values); ++i)
    Set(QStringLiteral("Software\\Types"), QStringLiteral("v%1").arg(i), values[i]);
  for (size_t i = 0; i < std::size(values); ++i) {
    const RegistryValue read = Query(QStringLiteral("Software\\Types"), QStringLiteral("v%1").arg(i));
    EXPECT_EQ(read.type, values[i].type) << i;
    EXPECT_EQ(read.data, values[i].data) << i;
  }
  DWORD number = 0;
  EXPECT_TRUE(Query(QStringLiteral("Software\\Types"), QStringLiteral("v3")).ToDword(&number));
  EXPECT_EQ(number, 0xDEADBEEFu);
}

TEST(Registry, TheHiveIsRegeditText) {
  Set(QStringLiteral("Software\\TarnwickWebLite"), QStringLiteral("NextProfileID"), RegistryValue::FromDword(12));
  Set(QStringLiteral("Software\\TarnwickWebLite"), QStringLiteral("Path"), RegistryValue::FromString(QStringLiteral("a\\b")));
  EXPECT_EQ(HiveText(),
            "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE]\n\n"
            "[HKEY_LOCAL_MACHINE\\Software]\n\n"
            "[HKEY_LOCAL_MACHINE\\Software\\TarnwickWebLite]\n"
            "\"NextProfileID\"=dword:0000000c\n\"Path\"=\"a\\\\b\"\n");
}

TEST(Registry, NamesCompareWithoutCaseAndKeepTheirCase) {
  Set(QStringLiteral("Software\\TarnwickWebLite"), QStringLiteral("InstallationPath"),
      RegistryValue::FromString(QStringLiteral("/opt/x/")));
  LSTATUS status = 0;
  EXPECT_EQ(Query(QStringLiteral("SOFTWARE\\tarnwickweblite"), QStringLiteral("installationpath"), &status).ToString(),
            QStringLiteral("/opt/x/"));
  EXPECT_EQ(status, ERROR_SUCCESS);

  RegistryKeyGuard software;
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("software"), KEY_READ, software.out()), ERROR_SUCCESS);
  QString name;
  EXPECT_EQ(RegEnumKeyEx(software.get(), 0, &name), ERROR_SUCCESS);
  EXPECT_EQ(name, QStringLiteral("TarnwickWebLite"));
  EXPECT_EQ(RegEnumKeyEx(software.get(), 1, &name), ERROR_NO_MORE_ITEMS);

  RegistryKeyGuard key;
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("software\\TARNWICKWEBLITE"), KEY_ALL_ACCESS, key.out()), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(key.get(), QStringLiteral("INSTALLATIONPATH"), RegistryValue::FromString(QStringLiteral("/y/"))), ERROR_SUCCESS);
  EXPECT_EQ(RegEnumValue(key.get(), 0, &name), ERROR_SUCCESS);
  EXPECT_EQ(name, QStringLiteral("InstallationPath"));
  EXPECT_EQ(RegEnumValue(key.get(), 1, &name), ERROR_NO_MORE_ITEMS);
}

TEST(Registry, MissingKeysAndValuesAndDeletes) {
  RegistryKeyGuard key;
  EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\None"), KEY_READ, key.out()), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key.get(), nullptr);

  Set(QStringLiteral("Software\\TarnwickWebLite\\RI"), QStringLiteral("12"), RegistryValue::FromDword(1));
  RegistryKeyGuard ri;
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\TarnwickWebLite\\RI"), KEY_ALL_ACCESS, ri.out()), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValue(ri.get(), QStringLiteral("12")), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValue(ri.get(), QStringLiteral("12")), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegQueryValueEx(ri.get(), QStringLiteral("12"), nullptr), ERROR_FILE_NOT_FOUND);

  // A key with subkeys is not deleted; once empty it is.
  EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\TarnwickWebLite")), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\TarnwickWebLite\\RI")), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\TarnwickWebLite")), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\TarnwickWebLite")), ERROR_FILE_NOT_FOUND);
  // An open handle of a deleted key finds nothing.
  EXPECT_EQ(RegSetValueEx(ri.get(), QStringLiteral("7"), RegistryValue::FromDword(1)), ERROR_FILE_NOT_FOUND);
}

TEST(Registry, AKeyOpenedForReadingIsNotWritten) {
  Set(QStringLiteral("Software\\K"), QStringLiteral("v"), RegistryValue::FromDword(1));
  RegistryKeyGuard key;
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\K"), KEY_READ, key.out()), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueEx(key.get(), QStringLiteral("v"), RegistryValue::FromDword(2)), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteValue(key.get(), QStringLiteral("v")), ERROR_ACCESS_DENIED);
}

TEST(Registry, HivesAreSeparate) {
  Set(QStringLiteral("Software\\K"), QStringLiteral("v"), RegistryValue::FromDword(1));
  RegistryKeyGuard key;
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, QStringLiteral("Software\\K"), KEY_READ, key.out()), ERROR_FILE_NOT_FOUND);
}

// A file whose first line is not the header is no hive: nothing in it is read or replaced.
TEST(Registry, AFileThatIsNoHiveIsReportedAndNeverReplaced) {
  const char* variants[] = {"not a hive at all\n", "[HKEY_LOCAL_MACHINE\\Software]\n\"v\"=dword:00000001\n"};
  for (const char* content : variants) {
    QFile file(HivePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
    file.close();

    RegistryKeyGuard key;
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("Software"), KEY_READ, key.out()), ERROR_BADDB) << content;
    EXPECT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\New"), KEY_ALL_ACCESS, key.out()), ERROR_BADDB);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray(content));
  }
}

// A line of a hive that cannot be read costs that line: every other key and value reads, the
// line stays byte for byte through every write, its key's deletion included, and it is reported
// once.
TEST(Registry, AnUnreadableLineCostsThatLineOnly) {
  const QByteArray head = "Windows Registry Editor Version 5.00\n";
  const QByteArray good = "\n[HKEY_LOCAL_MACHINE\\Software\\Good]\n";
  const QByteArray kept = "\"kept\"=dword:00000007\n";
  const QByteArray after = "\n[HKEY_LOCAL_MACHINE\\Software\\After]\n\"after\"=\"x\"\n";
  const QByteArray unreadable[] = {"\"v\"=dword:12\n",  "\"v\"=dword:0000000g\n", "\"v\"=\"unterminated\n",
                                   "v=dword:00000001\n", "\"v\"=hex:0z\n",         "\"v\"=hex(7:00\n",
                                   "\"v\"=text:1\n",     "\"v\"\n"};
  for (const QByteArray& line : unreadable) {
    for (const bool belowKey : {false, true}) {
      const QByteArray hive = head + (belowKey ? good + line : line + good) + kept + after;
      WriteHive(hive);
      LSTATUS status = 0;
      EXPECT_EQ(QueryDword(QStringLiteral("Software\\Good"), QStringLiteral("kept")), 7u) << line.toStdString();
      EXPECT_EQ(Query(QStringLiteral("Software\\After"), QStringLiteral("after")).ToString(), QStringLiteral("x")) << line.toStdString();
      Query(QStringLiteral("Software\\Good"), QStringLiteral("v"), &status);
      EXPECT_EQ(status, ERROR_FILE_NOT_FOUND) << line.toStdString();

      Set(QStringLiteral("Software\\Good"), QStringLiteral("kept"), RegistryValue::FromDword(8));
      Set(QStringLiteral("Software\\New"), QStringLiteral("n"), RegistryValue::FromDword(1));
      const QByteArray added = "\n[HKEY_LOCAL_MACHINE\\Software\\New]\n\"n\"=dword:00000001\n";
      const QByteArray keptNow = "\"kept\"=dword:00000008\n";
      EXPECT_EQ(HiveText(), head + (belowKey ? good + line : line + good) + keptNow + after + added) << line.toStdString();
      EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Good")), ERROR_SUCCESS) << line.toStdString();
      EXPECT_EQ(HiveText(), head + line + after + added) << line.toStdString();
    }
  }
}

// A key line that cannot be read makes its values unreadable too: they never fall to the key
// above it.
TEST(Registry, TheValuesOfAnUnreadableKeyLineAreNotTakenForAnotherKeys) {
  const QByteArray head = "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\Good]\n\"kept\"=dword:00000007\n";
  const QByteArray after = "\n[HKEY_LOCAL_MACHINE\\Software\\After]\n\"after\"=\"x\"\n";
  const QByteArray keyLines[] = {"[HKEY_CURRENT_USER\\Software\\Good]", "[Software\\Good]", "[HKEY_LOCAL_MACHINE\\Good"};
  for (const QByteArray& keyLine : keyLines) {
    const QByteArray foreign = keyLine + "\n\"v\"=dword:00000001\n";
    WriteHive(head + foreign + after);
    LSTATUS status = 0;
    Query(QStringLiteral("Software\\Good"), QStringLiteral("v"), &status);
    EXPECT_EQ(status, ERROR_FILE_NOT_FOUND) << keyLine.toStdString();
    EXPECT_EQ(Query(QStringLiteral("Software\\After"), QStringLiteral("after")).ToString(), QStringLiteral("x")) << keyLine.toStdString();
    Set(QStringLiteral("Software\\Good"), QStringLiteral("added"), RegistryValue::FromDword(2));
    EXPECT_EQ(HiveText(), head + "\"added\"=dword:00000002\n" + foreign + after) << keyLine.toStdString();
  }
}

// Blanks at the end of a line, as an editor may leave them, are no part of what it says.
TEST(Registry, BlanksAtTheEndOfALineAreRead) {
  WriteHive("Windows Registry Editor Version 5.00 \n\n[HKEY_LOCAL_MACHINE\\Software\\K] \t\n"
            "\"Number\"=dword:0000000c \n\"Text\"=\"x\"\t\n\"Bytes\"=hex:01,02  \n");
  EXPECT_EQ(QueryDword(QStringLiteral("Software\\K"), QStringLiteral("Number")), 12u);
  EXPECT_EQ(Query(QStringLiteral("Software\\K"), QStringLiteral("Text")).ToString(), QStringLiteral("x"));
  EXPECT_EQ(Query(QStringLiteral("Software\\K"), QStringLiteral("Bytes")).data, QByteArray("\x01\x02"));
}

// A hive that holds only a byte-order mark takes the header behind the mark; a hive that an
// earlier write gave a header in front of its mark reads as well.
TEST(Registry, AHiveOfOnlyAByteOrderMarkTakesItsFirstWrite) {
  const QByteArray bom = "\xEF\xBB\xBF";
  for (const QByteArray& lineBreak : {QByteArray(), QByteArray("\n"), QByteArray("\r\n")}) {
    WriteHive(bom + lineBreak);
    Set(QStringLiteral("Software\\K"), QStringLiteral("v"), RegistryValue::FromDword(1));
    Set(QStringLiteral("Software\\L"), QStringLiteral("w"), RegistryValue::FromDword(2));
    EXPECT_TRUE(HiveText().startsWith(bom + "Windows Registry Editor Version 5.00" + (lineBreak.isEmpty() ? "\n" : lineBreak)))
        << HiveText().toStdString();
    EXPECT_EQ(QueryDword(QStringLiteral("Software\\K"), QStringLiteral("v")), 1u) << lineBreak.size();
    EXPECT_EQ(QueryDword(QStringLiteral("Software\\L"), QStringLiteral("w")), 2u) << lineBreak.size();
  }
  WriteHive("Windows Registry Editor Version 5.00\n" + bom + "\n\n[HKEY_LOCAL_MACHINE\\Software\\K]\n\"v\"=dword:00000003\n");
  EXPECT_EQ(QueryDword(QStringLiteral("Software\\K"), QStringLiteral("v")), 3u);
}

// An unreadable line is reported once, not on every read nor again after a write.
TEST(Registry, AnUnreadableLineIsReportedOnce) {
  WriteHive("Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\K]\n\"v\"=dword:12\n");
  testing::internal::CaptureStderr();
  Query(QStringLiteral("Software\\K"), QStringLiteral("v"));
  Query(QStringLiteral("Software\\K"), QStringLiteral("v"));
  Set(QStringLiteral("Software\\K"), QStringLiteral("w"), RegistryValue::FromDword(1));
  Query(QStringLiteral("Software\\K"), QStringLiteral("w"));
  const QString reported = QString::fromStdString(testing::internal::GetCapturedStderr());
  EXPECT_EQ(reported.count(QStringLiteral("skipped")), 1) << reported.toStdString();
}

// One line of the hive file per key and value: a name that would break its line, or that has no
// UTF-8 form, is refused, and every other setting stays readable.
TEST(Registry, ANameTheHiveCannotHoldIsRefusedAndTheHiveStaysReadable) {
  Set(QStringLiteral("Software\\K"), QStringLiteral("kept"), RegistryValue::FromDword(7));
  const QByteArray before = HiveText();
  const QString names[] = {QStringLiteral("two\nlines"), QStringLiteral("cr\r"), QStringLiteral("tab\t"),
                           QString(QChar(0xD800)) + u'x'};
  RegistryKeyGuard key;
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\K"), KEY_ALL_ACCESS, key.out()), ERROR_SUCCESS);
  for (const QString& name : names) {
    EXPECT_EQ(RegSetValueEx(key.get(), name, RegistryValue::FromDword(1)), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegUpdateValue(key.get(), name, [](RegistryValue*, bool) { return true; }), ERROR_INVALID_PARAMETER);
    RegistryKeyGuard created;
    EXPECT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\") + name, KEY_ALL_ACCESS, created.out()),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(created.get(), nullptr);
  }
  EXPECT_EQ(HiveText(), before);
  DWORD number = 0;
  EXPECT_TRUE(Query(QStringLiteral("Software\\K"), QStringLiteral("kept")).ToDword(&number));
  EXPECT_EQ(number, 7u);
}

TEST(Registry, ReadModifyWriteFromTwoProcessesLosesNoIncrement) {
  Increment(0);
  pid_t children[2];
  for (pid_t& child : children) {
    child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      Increment(200);
      _exit(0);
    }
  }
  for (const pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  DWORD number = 0;
  EXPECT_TRUE(Query(QStringLiteral("Software\\Counters"), QStringLiteral("Counter")).ToDword(&number));
  EXPECT_EQ(number, 400u);
}

TEST(Registry, AWriterKilledMidWriteNeverLeavesATornHive) {
  Set(QStringLiteral("Software\\Big"), QStringLiteral("seed"), RegistryValue::FromDword(0));
  for (int round = 0; round < 20; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      RegistryKeyGuard key;
      RegOpenKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Big"), KEY_ALL_ACCESS, key.out());
      for (int i = 0;; ++i)
        RegSetValueEx(key.get(), QStringLiteral("v%1").arg(i % 50), RegistryValue::FromBinary(QByteArray(4096, static_cast<char>(i))));
    }
    usleep(static_cast<useconds_t>(2000 + round * 1500));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    LSTATUS status = 0;
    Query(QStringLiteral("Software\\Big"), QStringLiteral("seed"), &status);
    ASSERT_EQ(status, ERROR_SUCCESS) << "round " << round;
  }
}

// Windows' limits: 512 levels, 255 characters a key name part, 16,383 a value name.
TEST(Registry, WhatWindowsRefusesIsRefusedAndTheHiveStaysAsItWas) {
  Set(QStringLiteral("Software\\K"), QStringLiteral("kept"), RegistryValue::FromDword(7));
  const auto levels = [](int count) {
    QStringList parts;
    for (int i = 0; i < count; ++i) parts << QStringLiteral("k");
    return parts.join(u'\\');
  };
  const struct {
    QString subKey;
    LSTATUS status;
  } keys[] = {
      {QString(255, u'n'), ERROR_SUCCESS},
      {QString(256, u'n'), ERROR_INVALID_PARAMETER},
      {QStringLiteral("a\\") + QString(256, u'n') + QStringLiteral("\\b"), ERROR_INVALID_PARAMETER},
      {levels(511), ERROR_SUCCESS},  // below Software: 512 levels
      {levels(512), ERROR_INVALID_PARAMETER},
      {levels(20000), ERROR_INVALID_PARAMETER},
  };
  for (const auto& [subKey, status] : keys) {
    RegistryKeyGuard software;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("Software"), KEY_ALL_ACCESS, software.out()), ERROR_SUCCESS);
    const QByteArray before = HiveText();
    RegistryKeyGuard created;
    EXPECT_EQ(RegCreateKeyEx(software.get(), subKey, KEY_ALL_ACCESS, created.out()), status) << subKey.size();
    if (status != ERROR_SUCCESS) {
      EXPECT_EQ(HiveText(), before) << subKey.size();
    }
  }

  RegistryKeyGuard key;
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\K"), KEY_ALL_ACCESS, key.out()), ERROR_SUCCESS);
  const QString longest(16383, u'v');
  EXPECT_EQ(RegSetValueEx(key.get(), longest, RegistryValue::FromDword(1)), ERROR_SUCCESS);
  const QByteArray before = HiveText();
  EXPECT_EQ(RegSetValueEx(key.get(), longest + u'v', RegistryValue::FromDword(1)), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegUpdateValue(key.get(), longest + u'v', [](RegistryValue*, bool) { return true; }),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(HiveText(), before);
}

// A hive written by another tool, with a key far deeper than Windows allows: it is read, and a
// write adds its own line instead of writing every parent of that key out in full.
TEST(Registry, AVeryDeepKeyInTheFileCostsNoMoreThanItsLine) {
  QStringList parts;
  for (int i = 0; i < 20000; ++i) parts << QStringLiteral("d");
  const QByteArray hive = "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\" +
                          parts.join(u'\\').toUtf8() + "]\n\"deep\"=dword:00000001\n";
  WriteHive(hive);
  Set(QStringLiteral("Software\\K"), QStringLiteral("v"), RegistryValue::FromDword(2));
  EXPECT_EQ(HiveText(), hive + "\n[HKEY_LOCAL_MACHINE\\Software\\K]\n\"v\"=dword:00000002\n");
  DWORD number = 0;
  EXPECT_TRUE(Query(QStringLiteral("Software\\K"), QStringLiteral("v")).ToDword(&number));
  EXPECT_EQ(number, 2u);
  EXPECT_TRUE(Query(QStringLiteral("Software\\") + parts.join(u'\\'), QStringLiteral("deep")).ToDword(&number));
  EXPECT_EQ(number, 1u);
}

// Another program's settings, in whatever bytes it wrote them, survive every write of ours.
TEST(Registry, AWriteChangesOnlyTheLinesOfWhatItWrites) {
  const QByteArray head =
      "Windows Registry Editor Version 5.00\r\n"
      "\r\n"
      "; written by another tool\r\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Other]\r\n"
      "\"Database\"=\"/data/M\xfcller/kunden.db\"\r\n"
      "\"\xEF\xBB\xBFStart\"=dword:00000001\r\n"
      "   \r\n";
  const QByteArray ours = "[HKEY_LOCAL_MACHINE\\Software\\Ours]\r\n\"Kept\"=hex:01,02\r\n";
  WriteHive(head + ours);
  Set(QStringLiteral("Software\\Ours"), QStringLiteral("kept"), RegistryValue::FromDword(3));
  Set(QStringLiteral("Software\\Ours"), QStringLiteral("New"), RegistryValue::FromString(QStringLiteral("x")));
  EXPECT_EQ(HiveText(), head + "[HKEY_LOCAL_MACHINE\\Software\\Ours]\r\n\"Kept\"=dword:00000003\r\n\"New\"=\"x\"\r\n");
  DWORD number = 0;
  EXPECT_TRUE(Query(QStringLiteral("Software\\Other"), QString(QChar(0xFEFF)) + QStringLiteral("Start")).ToDword(&number));

  Set(QStringLiteral("Software\\Third"), QStringLiteral("v"), RegistryValue::FromDword(4));
  RegistryKeyGuard key;
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Ours"), KEY_ALL_ACCESS, key.out()), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValue(key.get(), QStringLiteral("new")), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Third")), ERROR_SUCCESS);
  EXPECT_EQ(HiveText(), head + "[HKEY_LOCAL_MACHINE\\Software\\Ours]\r\n\"Kept\"=dword:00000003\r\n");
  EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Ours")), ERROR_SUCCESS);
  EXPECT_EQ(HiveText(), head);
}

// A key that only a deeper key's line names stays when that deeper key is deleted.
TEST(Registry, DeletingAKeyKeepsItsParents) {
  WriteHive("Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\A\\B\\C]\n");
  EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, QStringLiteral("A\\B\\C")), ERROR_SUCCESS);
  RegistryKeyGuard key;
  EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("A\\B"), KEY_READ, key.out()), ERROR_SUCCESS);
  QString name;
  EXPECT_EQ(RegEnumKeyEx(key.get(), 0, &name), ERROR_NO_MORE_ITEMS);
}

// The parsed hive is kept, but never past a change of its file: by another process's write of
// the same size (a new file, perhaps on a freed inode, within one tick of the clock) or by an edit
// in place.
TEST(Registry, EveryReadSeesTheFileAsItIsNow) {
  Set(QStringLiteral("Software\\K"), QStringLiteral("v"), RegistryValue::FromDword(0));
  for (DWORD round = 1; round <= 10; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      RegistryKeyGuard key;
      RegOpenKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\K"), KEY_ALL_ACCESS, key.out());
      RegSetValueEx(key.get(), QStringLiteral("v"), RegistryValue::FromDword(round + 1000));
      _exit(RegSetValueEx(key.get(), QStringLiteral("v"), RegistryValue::FromDword(round)) == ERROR_SUCCESS ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    DWORD number = 0;
    ASSERT_TRUE(Query(QStringLiteral("Software\\K"), QStringLiteral("v")).ToDword(&number));
    ASSERT_EQ(number, round);
  }
  QByteArray text = HiveText();
  text.replace("dword:0000000a", "dword:0000000b");
  {
    QFile file(HivePath());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_EQ(file.write(text), text.size());
  }
  DWORD number = 0;
  EXPECT_TRUE(Query(QStringLiteral("Software\\K"), QStringLiteral("v")).ToDword(&number));
  EXPECT_EQ(number, 11u);
}

// The hive holds sealed passwords: it is its owner's alone, and a write keeps the mode it has.
TEST(Registry, TheHiveKeepsItsModeAndAStrayTemporaryFileBlocksNothing) {
  Set(QStringLiteral("Software\\K"), QStringLiteral("v"), RegistryValue::FromDword(1));
  EXPECT_EQ(QFile::permissions(HivePath()), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ReadUser | QFileDevice::WriteUser);
  const auto shared = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                      QFileDevice::WriteUser | QFileDevice::ReadGroup;
  ASSERT_TRUE(QFile::setPermissions(HivePath(), shared));
  ASSERT_TRUE(QDir().mkdir(HivePath() + QStringLiteral(".tmp")));
  Set(QStringLiteral("Software\\K"), QStringLiteral("v"), RegistryValue::FromDword(2));
  EXPECT_EQ(QFile::permissions(HivePath()), shared);
  DWORD number = 0;
  EXPECT_TRUE(Query(QStringLiteral("Software\\K"), QStringLiteral("v")).ToDword(&number));
  EXPECT_EQ(number, 2u);
}
