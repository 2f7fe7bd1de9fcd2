#pragma once

#include "sync/data/Sha2.h"

#include <QList>
#include <QString>

#include <array>
#include <cstdint>

// One row that the devices hold: its record identity and the digest of its values. The unit of
// the snapshot file, 72 bytes little-endian.
struct CdbEntry {
  static constexpr int kSize = 72;

  int32_t recordSource = 0;
  int32_t recordIndex = 0;
  std::array<uint8_t, kSha512DigestSize> digest{};

  bool operator==(const CdbEntry&) const = default;
};

// The snapshot of one profile's rows on the devices, "cdb_<ProfileID>.bin" in the installation's
// "Desktop Files/DB/CDB Files" folder: a plain sequence of entries. Every write replaces the file
// whole (temporary file, then rename), so a crash or a full disk leaves the previous snapshot.
class CCdbFile {
 public:
  CCdbFile();

  void SetCdbFileName(int32_t profileId);
  QString Path() const { return m_strFolder + m_strName; }

  // The entries as the file holds them.
  static QByteArray Bytes(const QList<CdbEntry>& entries);

  // Writes the entries as the whole snapshot, creating the file when it does not exist.
  bool WriteCdbRecords(const QList<CdbEntry>& entries) const;
  bool WriteCdbBytes(const QByteArray& bytes) const;
  // Rewrites an existing snapshot with the entries; a snapshot that is gone (the profile was
  // deleted meanwhile) stays gone.
  bool WriteCdbVector(const QList<CdbEntry>& entries) const;
  bool RewriteCdbBytes(const QByteArray& bytes) const;
  // Appends the snapshot's entries to `entries` and answers how many; a missing file has none.
  // A partial entry at the end (only an outside change makes one) is left out with a log line.
  int32_t LoadCdbRecords(QList<CdbEntry>* entries) const;

 private:
  QString m_strFolder;
  QString m_strName;
};
