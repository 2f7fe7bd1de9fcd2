#include "platform/Registry.h"

#include "platform/HiveFile.h"

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

bool ValidName(const QString& subKey) { return !subKey.startsWith(u'\\'); }

LSTATUS OpenExisting(HKEY parent, const QString& subKey, REGSAM access, bool create, HKEY* result) {
  if (parent == nullptr || result == nullptr || !ValidName(subKey)) return ERROR_INVALID_PARAMETER;
  if (create && !RegistryHive::CanHoldName(subKey)) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  const QString path = parent->Below(subKey);
  const HiveFile file = parent->File();
  if ((access & kWriteRights) != 0 && !file.IsWritable()) return ERROR_ACCESS_DENIED;
  LSTATUS status = ERROR_SUCCESS;
  if (create) {
    status = file.Modify([&](RegistryHive& hive, bool* changed) {
      *changed = hive.FindKey(path) == nullptr;
      hive.CreateKey(path);
      return ERROR_SUCCESS;
    });
  } else {
    RegistryHive hive(parent->hiveName());
    status = file.Read(&hive);
    if (status == ERROR_SUCCESS && hive.FindKey(path) == nullptr) status = ERROR_FILE_NOT_FOUND;
  }
  if (status == ERROR_SUCCESS) *result = new RegistryKey(parent->hiveName(), path, access);
  return status;
}

// Runs `read` on the key's entry in a freshly read hive.
template <typename Read>
LSTATUS WithKey(HKEY key, REGSAM rights, Read read) {
  if (key == nullptr) return ERROR_INVALID_HANDLE;
  if (!key->Allows(rights)) return ERROR_ACCESS_DENIED;
  RegistryHive hive(key->hiveName());
  if (const LSTATUS status = key->File().Read(&hive); status != ERROR_SUCCESS) return status;
  const RegistryHive::Key* entry = hive.FindKey(key->path());
  if (entry == nullptr) return ERROR_FILE_NOT_FOUND;
  return read(hive, *entry);
}

// Runs `change` on the key's entry under the hive's exclusive lock.
template <typename Change>
LSTATUS ChangeKey(HKEY key, REGSAM rights, Change change) {
  if (key == nullptr) return ERROR_INVALID_HANDLE;
  if (!key->Allows(rights)) return ERROR_ACCESS_DENIED;
  return key->File().Modify([&](RegistryHive& hive, bool* changed) {
    RegistryHive::Key* entry = hive.FindKey(key->path());
    if (entry == nullptr) return ERROR_FILE_NOT_FOUND;
    return change(hive, *entry, changed);
  });
}

}  // namespace

const HKEY HKEY_LOCAL_MACHINE = &localMachine;
const HKEY HKEY_CURRENT_USER = &currentUser;

RegistryValue RegistryValue::FromString(const QString& text) {
  RegistryValue value;
  value.type = REG_SZ;
  for (const QChar c : text) {
    value.data.append(static_cast<char>(c.unicode() & 0xFF));
    value.data.append(static_cast<char>(c.unicode() >> 8));
  }
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
  return WithKey(key, KEY_QUERY_VALUE, [&](const RegistryHive&, const RegistryHive::Key& entry) {
    const RegistryHive::Value* found = RegistryHive::FindValue(entry, name);
    if (found == nullptr) return ERROR_FILE_NOT_FOUND;
    if (value != nullptr) *value = found->value;
    return ERROR_SUCCESS;
  });
}

LSTATUS RegSetValueEx(HKEY key, const QString& name, const RegistryValue& value) {
  if (!RegistryHive::CanHoldName(name)) return ERROR_INVALID_PARAMETER;
  return ChangeKey(key, KEY_SET_VALUE, [&](RegistryHive&, RegistryHive::Key& entry, bool* changed) {
    if (RegistryHive::Value* existing = RegistryHive::FindValue(entry, name)) {
      existing->value = value;
    } else {
      entry.values.append(RegistryHive::Value{name, value});
    }
    *changed = true;
    return ERROR_SUCCESS;
  });
}

LSTATUS RegDeleteValue(HKEY key, const QString& name) {
  return ChangeKey(key, KEY_SET_VALUE, [&](RegistryHive&, RegistryHive::Key& entry, bool* changed) {
    const qsizetype before = entry.values.size();
    entry.values.removeIf([&](const RegistryHive::Value& v) {
      return v.name.compare(name, Qt::CaseInsensitive) == 0;
    });
    *changed = entry.values.size() != before;
    return *changed ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
  });
}

LSTATUS RegDeleteKey(HKEY parent, const QString& subKey) {
  if (parent == nullptr) return ERROR_INVALID_HANDLE;
  if (subKey.isEmpty() || !ValidName(subKey)) return ERROR_INVALID_PARAMETER;
  const QString path = parent->Below(subKey);
  return parent->File().Modify([&](RegistryHive& hive, bool* changed) {
    if (hive.FindKey(path) == nullptr) return ERROR_FILE_NOT_FOUND;
    if (!hive.SubkeyNames(path).isEmpty()) return ERROR_ACCESS_DENIED;
    hive.RemoveKey(path);
    *changed = true;
    return ERROR_SUCCESS;
  });
}

LSTATUS RegEnumKeyEx(HKEY key, DWORD index, QString* name) {
  return WithKey(key, KEY_ENUMERATE_SUB_KEYS, [&](const RegistryHive& hive, const RegistryHive::Key&) {
    const QStringList names = hive.SubkeyNames(key->path());
    if (index >= static_cast<DWORD>(names.size())) return ERROR_NO_MORE_ITEMS;
    *name = names[index];
    return ERROR_SUCCESS;
  });
}

LSTATUS RegEnumValue(HKEY key, DWORD index, QString* name) {
  return WithKey(key, KEY_QUERY_VALUE, [&](const RegistryHive&, const RegistryHive::Key& entry) {
    if (index >= static_cast<DWORD>(entry.values.size())) return ERROR_NO_MORE_ITEMS;
    *name = entry.values[index].name;
    return ERROR_SUCCESS;
  });
}

LSTATUS RegFlushKey(HKEY key) { return key == nullptr ? ERROR_INVALID_HANDLE : ERROR_SUCCESS; }

LSTATUS RegUpdateValue(HKEY key, const QString& name,
                       const std::function<bool(RegistryValue* value, bool exists)>& update) {
  if (!RegistryHive::CanHoldName(name)) return ERROR_INVALID_PARAMETER;
  return ChangeKey(key, KEY_QUERY_VALUE | KEY_SET_VALUE,
                   [&](RegistryHive&, RegistryHive::Key& entry, bool* changed) {
                     RegistryHive::Value* existing = RegistryHive::FindValue(entry, name);
                     RegistryValue value = existing ? existing->value : RegistryValue{};
                     *changed = update(&value, existing != nullptr);
                     if (*changed && existing != nullptr) existing->value = value;
                     if (*changed && existing == nullptr)
                       entry.values.append(RegistryHive::Value{name, value});
                     return ERROR_SUCCESS;
                   });
}

}  // namespace platform
