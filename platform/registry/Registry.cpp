#include "platform/registry/Registry.h"

#include "platform/registry/HiveFile.h"
#include "platform/text/Utf16Text.h"

#include <algorithm>
#include <iterator>
#include <memory>

namespace platform {

// An open key: its hive, its path below the hive's root and the access it was opened with.
class RegistryKey {
 public:
  RegistryKey(QString hiveName, QString path, REGSAM access, bool predefined = false)
      : hiveName_(std::move(hiveName)), path_(std::move(path)), access_(access),
        predefined_(predefined) {}

  const QString& hiveName() const { return hiveName_; }
  const QString& path() const { return path_; }
  bool predefined() const { return predefined_; }
  bool Allows(REGSAM rights) const { return (access_ & rights) == rights; }
  HiveFile File() const { return HiveFile(hiveName_); }

  QString Below(const QString& subKey) const {
    QString relative = subKey;
    while (relative.endsWith(u'\\')) relative.chop(1);
    if (relative.isEmpty()) return path_;
    return path_.isEmpty() ? relative : path_ + u'\\' + relative;
  }

 private:
  QString hiveName_;
  QString path_;
  REGSAM access_;
  bool predefined_;
};

namespace {

RegistryKey localMachine(QStringLiteral("HKEY_LOCAL_MACHINE"), QString(), KEY_ALL_ACCESS, true);
RegistryKey currentUser(QStringLiteral("HKEY_CURRENT_USER"), QString(), KEY_ALL_ACCESS, true);

constexpr REGSAM kWriteRights = KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

// Windows' limits of the registry.
constexpr qsizetype kMaxKeyDepth = 512;
constexpr qsizetype kMaxKeyNameLength = 255;
constexpr qsizetype kMaxValueNameLength = 16383;

bool ValidName(const QString& subKey) { return !subKey.startsWith(u'\\'); }

bool CanCreateKey(const QString& path) {
  if (path.isEmpty()) return true;
  const QStringList parts = path.split(u'\\');
  return parts.size() <= kMaxKeyDepth && std::all_of(parts.begin(), parts.end(), [](const QString& part) {
           return part.size() <= kMaxKeyNameLength && RegistryHive::CanHoldName(part);
         });
}

bool CanSetValue(const QString& name) {
  return name.size() <= kMaxValueNameLength && RegistryHive::CanHoldName(name);
}

LSTATUS CreateKey(const HiveFile& file, const QString& path) {
  return file.Modify([&](RegistryHiveEdit& edit) {
    if (edit.hive().FindKey(path) == nullptr) edit.CreateKey(path.isEmpty() ? QStringList() : path.split(u'\\'));
    return ERROR_SUCCESS;
  });
}

LSTATUS FindKey(const HiveFile& file, const QString& path) {
  std::shared_ptr<const RegistryHive> hive;
  const LSTATUS status = file.Read(&hive);
  if (status != ERROR_SUCCESS) return status;
  return hive->FindKey(path) == nullptr ? ERROR_FILE_NOT_FOUND : ERROR_SUCCESS;
}

LSTATUS OpenExisting(HKEY parent, const QString& subKey, REGSAM access, bool create, HKEY* result) {
  if (parent == nullptr || result == nullptr || !ValidName(subKey)) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  const QString path = parent->Below(subKey);
  if (create && !CanCreateKey(path)) return ERROR_INVALID_PARAMETER;
  const HiveFile file = parent->File();
  if ((access & kWriteRights) != 0 && !file.IsWritable()) return ERROR_ACCESS_DENIED;
  const LSTATUS status = create ? CreateKey(file, path) : FindKey(file, path);
  if (status == ERROR_SUCCESS) *result = new RegistryKey(parent->hiveName(), path, access);
  return status;
}

// Runs `read` on the key's entry in the hive as its file holds it now.
template <typename Read>
LSTATUS WithKey(HKEY key, REGSAM rights, Read read) {
  if (key == nullptr) return ERROR_INVALID_HANDLE;
  if (!key->Allows(rights)) return ERROR_ACCESS_DENIED;
  std::shared_ptr<const RegistryHive> hive;
  if (const LSTATUS status = key->File().Read(&hive); status != ERROR_SUCCESS) return status;
  const RegistryHive::Key* entry = hive->FindKey(key->path());
  if (entry == nullptr) return ERROR_FILE_NOT_FOUND;
  return read(*entry);
}

// Runs `change` on the key's entry under the hive's exclusive lock.
template <typename Change>
LSTATUS ChangeKey(HKEY key, REGSAM rights, Change change) {
  if (key == nullptr) return ERROR_INVALID_HANDLE;
  if (!key->Allows(rights)) return ERROR_ACCESS_DENIED;
  return key->File().Modify([&](RegistryHiveEdit& edit) {
    const RegistryHive::Key* entry = edit.hive().FindKey(key->path());
    if (entry == nullptr) return ERROR_FILE_NOT_FOUND;
    return change(edit, *entry);
  });
}

}  // namespace

const HKEY HKEY_LOCAL_MACHINE = &localMachine;
const HKEY HKEY_CURRENT_USER = &currentUser;

RegistryValue RegistryValue::FromString(const QString& text) {
  RegistryValue value;
  value.type = REG_SZ;
  value.data = Utf16LeBytes(text);
  value.data.append(2, '\0');
  return value;
}

RegistryValue RegistryValue::FromDword(DWORD number) {
  RegistryValue value;
  value.type = REG_DWORD;
  for (int i = 0; i < 4; ++i) value.data.append(static_cast<char>((number >> (8 * i)) & 0xFF));
  return value;
}

RegistryValue RegistryValue::FromBinary(const QByteArray& bytes) {
  return RegistryValue{REG_BINARY, bytes};
}

QString RegistryValue::ToString() const {
  if (type != REG_SZ) return {};
  QString text;
  for (qsizetype i = 0; i + 1 < data.size(); i += 2) {
    const char16_t unit = static_cast<char16_t>(static_cast<uint8_t>(data[i]) |
                                                (static_cast<uint8_t>(data[i + 1]) << 8));
    if (unit == 0) break;
    text += QChar(unit);
  }
  return text;
}

bool RegistryValue::ToDword(DWORD* number) const {
  if (type != REG_DWORD || data.size() != 4) return false;
  *number = 0;
  for (int i = 0; i < 4; ++i) *number |= DWORD{static_cast<uint8_t>(data[i])} << (8 * i);
  return true;
}

LSTATUS RegOpenKeyEx(HKEY parent, const QString& subKey, REGSAM access, HKEY* result) {
  return OpenExisting(parent, subKey, access, false, result);
}

LSTATUS RegCreateKeyEx(HKEY parent, const QString& subKey, REGSAM access, HKEY* result) {
  return OpenExisting(parent, subKey, access, true, result);
}

LSTATUS RegCloseKey(HKEY key) {
  if (key == nullptr) return ERROR_INVALID_HANDLE;
  if (!key->predefined()) delete key;
  return ERROR_SUCCESS;
}

LSTATUS RegQueryValueEx(HKEY key, const QString& name, RegistryValue* value) {
  return WithKey(key, KEY_QUERY_VALUE, [&](const RegistryHive::Key& entry) {
    const RegistryHive::Value* found = RegistryHive::FindValue(entry, name);
    if (found == nullptr) return ERROR_FILE_NOT_FOUND;
    if (value != nullptr) *value = found->value;
    return ERROR_SUCCESS;
  });
}

LSTATUS RegSetValueEx(HKEY key, const QString& name, const RegistryValue& value) {
  if (!CanSetValue(name)) return ERROR_INVALID_PARAMETER;
  return ChangeKey(key, KEY_SET_VALUE, [&](RegistryHiveEdit& edit, const RegistryHive::Key& entry) {
    edit.SetValue(entry, name, value);
    return ERROR_SUCCESS;
  });
}

LSTATUS RegDeleteValue(HKEY key, const QString& name) {
  return ChangeKey(key, KEY_SET_VALUE, [&](RegistryHiveEdit& edit, const RegistryHive::Key& entry) {
    return edit.DeleteValue(entry, name) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
  });
}

LSTATUS RegDeleteKey(HKEY parent, const QString& subKey) {
  if (parent == nullptr) return ERROR_INVALID_HANDLE;
  if (subKey.isEmpty() || !ValidName(subKey)) return ERROR_INVALID_PARAMETER;
  const QString path = parent->Below(subKey);
  return parent->File().Modify([&](RegistryHiveEdit& edit) {
    const RegistryHive::Key* entry = edit.hive().FindKey(path);
    if (entry == nullptr) return ERROR_FILE_NOT_FOUND;
    if (!entry->children.empty()) return ERROR_ACCESS_DENIED;
    edit.DeleteKey(*entry);
    return ERROR_SUCCESS;
  });
}

LSTATUS RegEnumKeyEx(HKEY key, DWORD index, QString* name) {
  return WithKey(key, KEY_ENUMERATE_SUB_KEYS, [&](const RegistryHive::Key& entry) {
    if (index >= entry.children.size()) return ERROR_NO_MORE_ITEMS;
    *name = std::next(entry.children.begin(), index)->second->name;
    return ERROR_SUCCESS;
  });
}

LSTATUS RegEnumValue(HKEY key, DWORD index, QString* name) {
  return WithKey(key, KEY_QUERY_VALUE, [&](const RegistryHive::Key& entry) {
    if (index >= entry.values.size()) return ERROR_NO_MORE_ITEMS;
    *name = entry.values[index].name;
    return ERROR_SUCCESS;
  });
}

LSTATUS RegFlushKey(HKEY key) { return key == nullptr ? ERROR_INVALID_HANDLE : ERROR_SUCCESS; }

LSTATUS RegUpdateValue(HKEY key, const QString& name,
                       const std::function<bool(RegistryValue* value, bool exists)>& update) {
  if (!CanSetValue(name)) return ERROR_INVALID_PARAMETER;
  return ChangeKey(key, KEY_QUERY_VALUE | KEY_SET_VALUE, [&](RegistryHiveEdit& edit, const RegistryHive::Key& entry) {
    const RegistryHive::Value* existing = RegistryHive::FindValue(entry, name);
    RegistryValue value = existing != nullptr ? existing->value : RegistryValue{};
    if (update(&value, existing != nullptr)) edit.SetValue(entry, name, value);
    return ERROR_SUCCESS;
  });
}

}  // namespace platform
