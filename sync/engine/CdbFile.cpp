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

QByteArray CCdbFile::Bytes(const QList<CdbEntry>& entries) {
  QByteArray bytes(entries.size() * CdbEntry::kSize, Qt::Uninitialized);
  uint8_t* out = endian::Bytes(bytes);
  for (const CdbEntry& entry : entries) {
    WriteInt32LE(out, entry.recordSource);
    WriteInt32LE(out + 4, entry.recordIndex);
    std::memcpy(out + 8, entry.digest.data(), entry.digest.size());
    out += CdbEntry::kSize;
  }
  return bytes;
}

bool CCdbFile::WriteCdbRecords(const QList<CdbEntry>& entries) const { return WriteCdbBytes(Bytes(entries)); }

bool CCdbFile::WriteCdbBytes(const QByteArray& bytes) const { return platform::ReplaceFileAtomically(Path(), bytes); }

bool CCdbFile::WriteCdbVector(const QList<CdbEntry>& entries) const { return RewriteCdbBytes(Bytes(entries)); }

bool CCdbFile::RewriteCdbBytes(const QByteArray& bytes) const {
  if (!QFileInfo::exists(Path())) return false;
  return WriteCdbBytes(bytes);
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
  for (qsizetype i = 0; i < whole; ++i) out[i] = EntryAt(endian::Bytes(bytes) + i * CdbEntry::kSize);
  return static_cast<int32_t>(whole);
}
