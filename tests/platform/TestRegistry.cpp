#include "platform/MachineRoot.h"
#include "platform/Registry.h"

#include <gtest/gtest.h>

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

TEST(Registry, ADamagedHiveIsReportedAndNeverReplaced) {
  const QByteArray damaged = "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software]\n\"v\"=dword:12\n";
  const char* variants[] = {"not a hive at all\n", damaged.constData(),
                            "Windows Registry Editor Version 5.00\n\"v\"=\"before a key\"\n",
                            "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\X]\n"};
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
      Increment(1000);
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
  EXPECT_EQ(number, 2000u);
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
