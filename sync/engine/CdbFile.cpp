#include "sync/engine/CdbFile.h"

#include "platform/AtomicFile.h"
#include "shared/Endian.h"
#include "shared/RegistrySettings.h"
#include "sync/data/SyncLog.h"

#include <QByteArray>
#include <QFileInfo>

#include <cstring>

using namespace endian;

namespace {

QByteArray SnapshotBytes(const QList<CdbEntry>& entries) {
  QByteArray bytes;
  bytes.reserve(entries.size() * CdbEntry::kSize);
  for (const CdbEntry& entry : entries) {
    AppendLE<uint32_t>(&bytes, static_cast<uint32_t>(entry.recordSource));
    AppendLE<uint32_t>(&bytes, static_cast<uint32_t>(entry.recordIndex));
    bytes.append(reinterpret_cast<const char*>(entry.digest.data()), static_cast<qsizetype>(entry.digest.size()));
  }
  return bytes;
}

CdbEntry EntryAt(const uint8_t* p) {
  CdbEntry entry;
  entry.recordSource = ReadInt32LE(p);
  entry.recordIndex = ReadInt32LE(p + 4);
  std::memcpy(entry.digest.data(), p + 8, entry.digest.size());
  return entry;
}

}  // namespace

CCdbFile::CCdbFile()
    : m_strFolder(GetInstallationPath() + QStringLiteral("Desktop Files/DB/CDB Files/")) {}

void CCdbFile::SetCdbFileName(int32_t profileId) {
  m_strName = QStringLiteral("cdb_%1.bin").arg(profileId);
}

bool CCdbFile::WriteCdbRecords(const QList<CdbEntry>& entries) const {
  return platform::ReplaceFileAtomically(Path(), SnapshotBytes(entries));
}

bool CCdbFile::WriteCdbVector(const QList<CdbEntry>& entries) const {
  if (!QFileInfo::exists(Path())) return false;
  return WriteCdbRecords(entries);
}

int32_t CCdbFile::LoadCdbRecords(QList<CdbEntry>* entries) const {
  QByteArray bytes;
  bool missing = false;
  if (!platform::ReadWholeFile(Path(), &bytes, &missing) || missing) return 0;
  const qsizetype whole = bytes.size() / CdbEntry::kSize;
  if (bytes.size() % CdbEntry::kSize != 0)
    WriteSyncServiceLog(-1, QStringLiteral("Snapshot %1 ends in %2 bytes of a partial entry; they are left out.")
                                .arg(Path())
                                .arg(bytes.size() % CdbEntry::kSize));
  const qsizetype first = entries->size();
  entries->resize(first + whole);
  CdbEntry* out = entries->data() + first;
  for (qsizetype i = 0; i < whole; ++i) out[i] = EntryAt(Bytes(bytes) + i * CdbEntry::kSize);
  return static_cast<int32_t>(whole);
}
