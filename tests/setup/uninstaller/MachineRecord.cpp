#include "tests/setup/uninstaller/MachineRecord.h"

#include "tests/support/FreshMachineRoot.h"

#include <QDir>
#include <QDirIterator>

using namespace platform;

namespace uninstallertest {

namespace {

void CollectValues(HKEY root, const QString& key, QStringList* values) {
  RegistryKeyGuard handle;
  if (RegOpenKeyEx(root, key, KEY_READ, handle.out()) != ERROR_SUCCESS) return;
  QString name;
  for (DWORD index = 0; RegEnumValue(handle.get(), index, &name) == ERROR_SUCCESS; ++index)
    values->append(key + u'\\' + name);
  QStringList subKeys;
  for (DWORD index = 0; RegEnumKeyEx(handle.get(), index, &name) == ERROR_SUCCESS; ++index) subKeys.append(name);
  for (const QString& sub : subKeys) CollectValues(root, key.isEmpty() ? sub : key + u'\\' + sub, values);
}

}  // namespace

QStringList RegistryValues(HKEY root, const QString& key) {
  QStringList values;
  CollectValues(root, key, &values);
  values.sort();
  return values;
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
