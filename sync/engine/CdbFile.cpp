#include "sync/engine/CdbFile.h"

#include "platform/files/AtomicFile.h"
#include "platform/files/ReplacementFile.h"
#include "shared/Endian.h"
#include "shared/RegistrySettings.h"
#include "shared/contract/InstallLayout.h"
#include "sync/data/SyncLog.h"
#include "sync/engine/SnapshotJournal.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <bit>
#include <cstddef>
#include <type_traits>

#include <cstring>

using namespace endian;

namespace {

// Where an entry in memory is its 72 stored bytes, the file is read straight into the entries.
constexpr bool kEntriesLieAsStored = std::endian::native == std::endian::little && sizeof(CdbEntry) == CdbEntry::kSize &&
                                     std::is_trivially_copyable_v<CdbEntry> && offsetof(CdbEntry, recordIndex) == 4 &&
                                     offsetof(CdbEntry, digest) == 8;

CdbEntry EntryAt(const uint8_t* p) {
  CdbEntry entry;
  entry.recordSource = ReadInt32LE(p);
  entry.recordIndex = ReadInt32LE(p + 4);
  std::memcpy(entry.digest.data(), p + 8, entry.digest.size());
  return entry;
}

}  // namespace

CdbEntry CdbEntry::InDoubt(int32_t recordSource, int32_t recordIndex) {
  CdbEntry entry;
  entry.recordSource = recordSource;
  entry.recordIndex = recordIndex;
  return entry;
}

bool CdbEntry::IsInDoubt() const {
  return std::all_of(digest.cbegin(), digest.cend(), [](uint8_t byte) { return byte == 0; });
}

CCdbFile::CCdbFile() : m_strFolder(GetInstallationPath() + installlayout::kCdbFolder) {}

void CCdbFile::RemoveStaleTemporaryFiles() const {
  platform::ReplacementFile::RemoveStale(QFile::encodeName(m_strFolder));
}

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

bool CCdbFile::WriteCdbRecords(const QList<CdbEntry>& entries) const {
  if constexpr (kEntriesLieAsStored) {
    // The entries are written as they lie: a large snapshot is not copied first.
    return WriteCdbBytes(QByteArray::fromRawData(reinterpret_cast<const char*>(entries.constData()),
                                                 entries.size() * CdbEntry::kSize));
  }
  return WriteCdbBytes(Bytes(entries));
}

SnapshotJournal CCdbFile::Journal() const { return SnapshotJournal(SiblingPath(QStringLiteral(".journal"))); }

bool CCdbFile::WriteCdbBytes(const QByteArray& bytes) const {
  if (!platform::ReplaceFileAtomically(Path(), bytes)) return false;
  Journal().Remove();
  return true;
}

bool CCdbFile::FoldJournal() const {
  if (!Journal().Exists()) return true;
  QList<CdbEntry> entries;
  LoadCdbRecords(&entries);
  return WriteCdbRecords(entries);
}

bool CCdbFile::NoteDeliveryStarted() const { return platform::ReplaceFileAtomically(DeliveryNotePath(), QByteArray()); }

bool CCdbFile::DeliveryWasCutShort() const { return QFileInfo::exists(DeliveryNotePath()); }

void CCdbFile::EndDelivery() const { QFile::remove(DeliveryNotePath()); }

QString CCdbFile::SiblingPath(const QString& extension) const {
  QString name = m_strName;
  name.replace(QStringLiteral(".bin"), extension);
  return m_strFolder + name;
}

void CCdbFile::Remove() const {
  QFile::remove(Path());
  Journal().Remove();
  EndDelivery();
}

bool CCdbFile::WriteCdbVector(const QList<CdbEntry>& entries) const { return RewriteCdbBytes(Bytes(entries)); }

bool CCdbFile::RewriteCdbBytes(const QByteArray& bytes) const {
  if (!QFileInfo::exists(Path())) return false;
  return WriteCdbBytes(bytes);
}

int32_t CCdbFile::LoadCdbRecords(QList<CdbEntry>* entries) const {
  QFile file(Path());
  if (!file.open(QIODevice::ReadOnly)) return 0;
  const qint64 size = file.size();
  if (size % CdbEntry::kSize != 0)
    WriteSyncServiceLog(-1, QStringLiteral("Snapshot %1 ends in %2 bytes of a partial entry; they are left out.")
                                .arg(Path())
                                .arg(size % CdbEntry::kSize));
  const qsizetype first = entries->size();
  entries->resize(first + static_cast<qsizetype>(size / CdbEntry::kSize));
  CdbEntry* out = entries->data() + first;
  const CdbEntry* const end = entries->data() + entries->size();
  if constexpr (kEntriesLieAsStored) {
    const qint64 wanted = (end - out) * CdbEntry::kSize;
    const qint64 got = std::max<qint64>(file.read(reinterpret_cast<char*>(out), wanted), 0);
    out += got / CdbEntry::kSize;
  } else {
    // A block at a time: a large snapshot is never held twice.
    constexpr qsizetype kBlockEntries = 4096;
    QByteArray block(kBlockEntries * CdbEntry::kSize, Qt::Uninitialized);
    while (out != end) {
      const qint64 wanted = std::min<qint64>(end - out, kBlockEntries) * CdbEntry::kSize;
      if (file.read(block.data(), wanted) != wanted) break;
      for (qint64 at = 0; at < wanted; at += CdbEntry::kSize) *out++ = EntryAt(endian::Bytes(block) + at);
    }
  }
  entries->resize(out - entries->data());
  if (first == 0) {
    Journal().ApplyTo(entries);
  } else {
    QList<CdbEntry> own = entries->mid(first);
    Journal().ApplyTo(&own);
    entries->resize(first);
    entries->append(own);
  }
  return static_cast<int32_t>(entries->size() - first);
}
