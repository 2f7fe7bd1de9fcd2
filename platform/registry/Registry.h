#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

// The Windows registry on Linux: the hives HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER are text
// files in the regedit export style inside the machine root's registry folder. Every call looks
// at the hive file under its lock, so one program sees another's writes at once; a file that has
// not changed since this process parsed it is not parsed again. Writes take an exclusive file
// lock, edit the file as it is then, and replace it atomically (temporary file, fsync, rename),
// so a reader sees the old or the new file, never a torn one; a write changes only the lines of
// what it writes. Key and value names compare case-insensitively and keep the case they were
// written with.
namespace platform {

using LSTATUS = int32_t;
using DWORD = uint32_t;
using REGSAM = uint32_t;

// Status codes, with Win32's numbers.
inline constexpr LSTATUS ERROR_SUCCESS = 0;
inline constexpr LSTATUS ERROR_FILE_NOT_FOUND = 2;
inline constexpr LSTATUS ERROR_ACCESS_DENIED = 5;
inline constexpr LSTATUS ERROR_INVALID_HANDLE = 6;
inline constexpr LSTATUS ERROR_INVALID_PARAMETER = 87;
inline constexpr LSTATUS ERROR_MORE_DATA = 234;
inline constexpr LSTATUS ERROR_NO_MORE_ITEMS = 259;
inline constexpr LSTATUS ERROR_BADDB = 1009;  // the hive file is damaged; it is left untouched
inline constexpr LSTATUS ERROR_CANTWRITE = 1013;

// Value types.
inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;

// Access rights.
inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
inline constexpr REGSAM KEY_SET_VALUE = 0x0002;
inline constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr REGSAM KEY_READ = 0x20019;
inline constexpr REGSAM KEY_WRITE = 0x20006;
inline constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

class RegistryKey;
using HKEY = RegistryKey*;

// The two predefined root keys; never closed.
extern const HKEY HKEY_LOCAL_MACHINE;
extern const HKEY HKEY_CURRENT_USER;

// One value as Windows stores it: REG_SZ as UTF-16LE with its terminating zero, REG_DWORD as 4
// little-endian bytes, REG_BINARY as the bytes themselves.
struct RegistryValue {
  DWORD type = REG_NONE;
  QByteArray data;

  static RegistryValue FromString(const QString& text);
  static RegistryValue FromDword(DWORD value);
  static RegistryValue FromBinary(const QByteArray& bytes);

  // The text up to its first zero unit; empty unless type is REG_SZ.
  QString ToString() const;
  // True and the value when type is REG_DWORD and the data holds 4 bytes.
  bool ToDword(DWORD* value) const;
};

// Opens an existing key below `parent`. Asking for write access fails with ERROR_ACCESS_DENIED
// when the hive file cannot be written by this user.
LSTATUS RegOpenKeyEx(HKEY parent, const QString& subKey, REGSAM access, HKEY* result);
// Opens the key, creating it and any missing parents first. What Windows refuses is refused
// with its ERROR_INVALID_PARAMETER: a key more than 512 levels deep, a key name part longer than
// 255 characters, a value name longer than 16,383. So is a name the hive file cannot hold (a
// control character such as a line break, a lone surrogate), here and by the calls that write a
// value name.
LSTATUS RegCreateKeyEx(HKEY parent, const QString& subKey, REGSAM access, HKEY* result);
LSTATUS RegCloseKey(HKEY key);

LSTATUS RegQueryValueEx(HKEY key, const QString& name, RegistryValue* value);
LSTATUS RegSetValueEx(HKEY key, const QString& name, const RegistryValue& value);
LSTATUS RegDeleteValue(HKEY key, const QString& name);
// Deletes an empty subkey; a key that has subkeys is refused with ERROR_ACCESS_DENIED.
LSTATUS RegDeleteKey(HKEY parent, const QString& subKey);

// The index-th subkey or value name, ERROR_NO_MORE_ITEMS past the last.
LSTATUS RegEnumKeyEx(HKEY key, DWORD index, QString* name);
LSTATUS RegEnumValue(HKEY key, DWORD index, QString* name);

// Writes are on disk when they return; flushing has nothing more to do.
LSTATUS RegFlushKey(HKEY key);

// Reads, changes and writes one value under one exclusive lock. `update` gets the current value
// (`exists` false when absent) and returns false to leave the hive unchanged.
LSTATUS RegUpdateValue(HKEY key, const QString& name,
                       const std::function<bool(RegistryValue* value, bool exists)>& update);

// Closes the key when the guard goes out of scope.
class RegistryKeyGuard {
 public:
  RegistryKeyGuard() = default;
  explicit RegistryKeyGuard(HKEY key) : key_(key) {}
  ~RegistryKeyGuard() { RegCloseKey(key_); }
  RegistryKeyGuard(const RegistryKeyGuard&) = delete;
  RegistryKeyGuard& operator=(const RegistryKeyGuard&) = delete;

  HKEY get() const { return key_; }
  HKEY* out() { return &key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace platform
