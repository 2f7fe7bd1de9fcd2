#include "tests/setup/uninstaller/MachineRecord.h"

#include "tests/support/FreshMachineRoot.h"

#include <QDir>
#include <QDirIterator>

using namespace platform;

namespace uninstallertest {

namespace {

// The values (as "key\\name") or, with `keys`, the subkeys under `key`.
void Collect(HKEY root, const QString& key, bool keys, QStringList* found) {
  RegistryKeyGuard handle;
  if (RegOpenKeyEx(root, key, KEY_READ, handle.out()) != ERROR_SUCCESS) return;
  QString name;
  for (DWORD index = 0; !keys && RegEnumValue(handle.get(), index, &name) == ERROR_SUCCESS; ++index)
    found->append(key + u'\\' + name);
  QStringList subKeys;
  for (DWORD index = 0; RegEnumKeyEx(handle.get(), index, &name) == ERROR_SUCCESS; ++index) subKeys.append(name);
  for (const QString& sub : subKeys) {
    const QString path = key.isEmpty() ? sub : key + u'\\' + sub;
    if (keys) found->append(path);
    Collect(root, path, keys, found);
  }
}

}  // namespace

QStringList RegistryValues(HKEY root, const QString& key) {
  QStringList values;
  Collect(root, key, false, &values);
  values.sort();
  return values;
}

QStringList RegistryKeys(HKEY root, const QString& key) {
  QStringList keys;
  Collect(root, key, true, &keys);
  keys.sort();
  return keys;
}

QStringList MachineEntries() {
  const QString root = testsupport::CurrentMachineRoot();
  QStringList entries;
  QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QFileInfo info = it.nextFileInfo();
    entries.append(QDir(root).relativeFilePath(info.filePath()) + (info.isDir() ? QStringLiteral("/") : QString()));
  }
  entries.sort();
  return entries;
}

}  // namespace uninstallertest
