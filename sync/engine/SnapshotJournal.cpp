#include "sync/engine/SnapshotJournal.h"

#include "platform/files/AtomicFile.h"
#include "platform/files/DurableAppend.h"
#include "shared/Endian.h"
#include "sync/data/Sha2.h"
#include "sync/data/SyncLog.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <cstring>

using namespace endian;

namespace {

constexpr qsizetype kCountSize = 4;
constexpr qsizetype kChangeSize = 1 + CdbEntry::kSize;
constexpr qsizetype kCheckSize = 8;

QByteArray CheckOf(const char* data, qsizetype size) {
  uint8_t digest[kSha512DigestSize];
  Sha512(reinterpret_cast<const uint8_t*>(data), static_cast<size_t>(size), digest);
  return QByteArray(reinterpret_cast<const char*>(digest), kCheckSize);
}

uint64_t RecordKey(const CdbEntry& entry) {
  return (static_cast<uint64_t>(static_cast<uint32_t>(entry.recordSource)) << 32) |
         static_cast<uint32_t>(entry.recordIndex);
}

// Reads the whole records from the start of `bytes`: the changes, and where the last whole one ends.
QList<SnapshotChange> ReadRecords(const QByteArray& bytes, qsizetype* wholeEnd) {
  QList<SnapshotChange> changes;
  const uint8_t* data = endian::Bytes(bytes);
  qsizetype at = 0;
  while (bytes.size() - at >= kCountSize) {
    const qsizetype count = ReadInt32LE(data + at);
    if (count < 0 || count > (bytes.size() - at) / kChangeSize) break;
    const qsizetype body = kCountSize + count * kChangeSize;
    if (bytes.size() - at < body + kCheckSize) break;
    if (CheckOf(bytes.constData() + at, body) != bytes.mid(at + body, kCheckSize)) break;
    for (qsizetype i = 0; i < count; ++i) {
      const uint8_t* change = data + at + kCountSize + i * kChangeSize;
      SnapshotChange read;
      read.kind = static_cast<SnapshotChange::Kind>(change[0]);
      read.entry.recordSource = ReadInt32LE(change + 1);
      read.entry.recordIndex = ReadInt32LE(change + 5);
      std::memcpy(read.entry.digest.data(), change + 9, read.entry.digest.size());
      changes.append(read);
    }
    at += body + kCheckSize;
  }
  *wholeEnd = at;
  return changes;
}

}  // namespace

bool SnapshotJournal::Exists() const { return QFileInfo::exists(m_strPath); }

QByteArray SnapshotJournal::Record(const QList<SnapshotChange>& changes) {
  QByteArray record;
  record.reserve(kCountSize + changes.size() * kChangeSize + kCheckSize);
  AppendLE<uint32_t>(&record, static_cast<uint32_t>(changes.size()));
  for (const SnapshotChange& change : changes) {
    record.append(static_cast<char>(change.kind));
    AppendLE<uint32_t>(&record, static_cast<uint32_t>(change.entry.recordSource));
    AppendLE<uint32_t>(&record, static_cast<uint32_t>(change.entry.recordIndex));
    record.append(reinterpret_cast<const char*>(change.entry.digest.data()), change.entry.digest.size());
  }
  return record + CheckOf(record.constData(), record.size());
}

bool SnapshotJournal::Append(const QList<SnapshotChange>& changes) const {
  if (changes.isEmpty()) return true;
  return platform::AppendDurably(m_strPath, Record(changes));
}

bool SnapshotJournal::ApplyTo(QList<CdbEntry>* entries) const {
  QByteArray bytes;
  bool missing = false;
  if (!platform::ReadWholeFile(m_strPath, &bytes, &missing) || missing) return false;
  qsizetype wholeEnd = 0;
  Apply(ReadRecords(bytes, &wholeEnd), entries);
  if (wholeEnd < bytes.size()) {
    // A record torn by a crash: cut off, so that the records appended next are read.
    WriteSyncServiceLog(-1, QStringLiteral("Journal %1 ends in %2 bytes of a record cut short; they are left out.")
                                .arg(m_strPath)
                                .arg(bytes.size() - wholeEnd));
    QFile(m_strPath).resize(wholeEnd);
  }
  return true;
}

void SnapshotJournal::Remove() const { QFile::remove(m_strPath); }

void SnapshotJournal::Apply(const QList<SnapshotChange>& changes, QList<CdbEntry>* entries) {
  if (changes.isEmpty()) return;
  QMultiHash<uint64_t, qsizetype> positions;
  positions.reserve(entries->size());
  for (qsizetype i = 0; i < entries->size(); ++i) positions.insert(RecordKey(entries->at(i)), i);
  QList<bool> removed(entries->size(), false);
  for (const SnapshotChange& change : changes) {
    const uint64_t key = RecordKey(change.entry);
    switch (change.kind) {
      case SnapshotChange::kAdd:
        if (positions.contains(key)) break;
        positions.insert(key, entries->size());
        entries->append(change.entry);
        removed.append(false);
        break;
      case SnapshotChange::kRemove:
        for (const qsizetype i : positions.values(key)) removed[i] = true;
        positions.remove(key);
        break;
      case SnapshotChange::kSetDigest:
        for (const qsizetype i : positions.values(key)) (*entries)[i].digest = change.entry.digest;
        break;
    }
  }
  qsizetype kept = 0;
  for (qsizetype i = 0; i < entries->size(); ++i) {
    if (!removed.at(i)) (*entries)[kept++] = entries->at(i);
  }
  entries->resize(kept);
}
