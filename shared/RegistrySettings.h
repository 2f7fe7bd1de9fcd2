#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Registry settings that every program reads the same way.

// The installation folder (`InstallationPath`), ending in "/"; empty when it is missing or not
// a text.
QString GetInstallationPath();

// `InstallationPath` under HKEY_LOCAL_MACHINE\`key` as it is stored; empty when it is missing or
// not a text.
QString GetInstallationPath(const QString& key);

// The plain bytes of a sealed record under HKEY_LOCAL_MACHINE\`keyName`: the key is opened for
// reading, and the value is accepted only as REG_BINARY of exactly the sealed size of a
// `plainSize`-byte record. Nothing when the key or value is missing or has another size.
std::optional<QByteArray> ReadSealedValue(const QString& keyName, const QString& valueName, int plainSize);

// Reads a sealed record of type Record (ConnSettings, SyncInfo, DeskInfo); 0 read, -1 missing or
// damaged, and then `record` is left as it was.
template <typename Record>
int ReadSealedRecord(const QString& keyName, const QString& valueName, Record* record) {
  const std::optional<QByteArray> plain = ReadSealedValue(keyName, valueName, Record::kSize);
  if (!plain) return -1;
  *record = Record::FromBytes(*plain);
  return 0;
}
