#include "sync/engine/CdbFile.h"
#include "sync/engine/SnapshotJournal.h"
#include "tests/support/SyncInstallation.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

CdbEntry Entry(int32_t source, int32_t index, uint8_t fill) {
  CdbEntry entry;
  entry.recordSource = source;
  entry.recordIndex = index;
  entry.digest.fill(fill);
  return entry;
}

QList<CdbEntry> Entries(int count, uint8_t fill) {
  QList<CdbEntry> entries;
  for (int i = 0; i < count; ++i) entries.append(Entry(1, i + 1, fill));
  return entries;
}

class CdbFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString installation = synctest::PrepareInstallation();
    ASSERT_TRUE(QDir().mkpath(installation + QStringLiteral("Desktop Files/DB/CDB Files")));
  }

  QList<CdbEntry> Load(int32_t profileId) const {
    CCdbFile file;
    file.SetCdbFileName(profileId);
    QList<CdbEntry> entries = {Entry(0, 0, 0)};  // loading appends
    const int32_t count = file.LoadCdbRecords(&entries);
    EXPECT_EQ(count, entries.size() - 1);
    return entries.mid(1);
  }
};

}  // namespace

TEST_F(CdbFileTest, EntriesAreWrittenAndLoadedInTheirOrderAndLayout) {
  CCdbFile file;
  file.SetCdbFileName(7);
  EXPECT_TRUE(file.Path().endsWith(QStringLiteral("Desktop Files/DB/CDB Files/cdb_7.bin")));
  const QList<CdbEntry> entries = {Entry(1, 2, 0xAB), Entry(1, 3, 0xAB), Entry(-4, 0x01020304, 0x11)};
  ASSERT_TRUE(file.WriteCdbRecords(entries));

  QFile raw(file.Path());
  ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
  const QByteArray bytes = raw.readAll();
  ASSERT_EQ(bytes.size(), 3 * 72);
  EXPECT_EQ(bytes.mid(144, 8).toHex(), QByteArray("fcffffff04030201"));
  EXPECT_EQ(bytes.mid(152, 64), QByteArray(64, '\x11'));

  EXPECT_EQ(Load(7), entries) << "identical digests keep their own entries and order";
}

TEST_F(CdbFileTest, RewritesReplaceTheWholeSnapshotButNeverBringBackADeletedOne) {
  CCdbFile file;
  file.SetCdbFileName(0);
  EXPECT_FALSE(file.WriteCdbVector(Entries(2, 1))) << "a snapshot that is gone stays gone";
  EXPECT_FALSE(QFile::exists(file.Path()));
  ASSERT_TRUE(file.WriteCdbRecords(Entries(5, 1)));
  ASSERT_TRUE(file.WriteCdbVector(Entries(2, 2)));
  EXPECT_EQ(Load(0), Entries(2, 2));
  ASSERT_TRUE(file.WriteCdbVector({}));
  EXPECT_EQ(QFile(file.Path()).size(), 0);
  EXPECT_TRUE(Load(0).isEmpty());
}

TEST_F(CdbFileTest, NamesCarrySignedProfileNumbersAndAMissingFileLoadsEmpty) {
  CCdbFile file;
  file.SetCdbFileName(-3);
  EXPECT_TRUE(file.Path().endsWith(QStringLiteral("/cdb_-3.bin")));
  EXPECT_TRUE(Load(-3).isEmpty());
}

TEST_F(CdbFileTest, APartialLastEntryIsLeftOutAndLogged) {
  CCdbFile file;
  file.SetCdbFileName(9);
  ASSERT_TRUE(file.WriteCdbRecords(Entries(2, 3)));
  QFile raw(file.Path());
  ASSERT_TRUE(raw.open(QIODevice::Append));
  raw.write(QByteArray(30, '\x7f'));
  raw.close();
  EXPECT_EQ(Load(9), Entries(2, 3));
  EXPECT_TRUE(synctest::ReadLog(QStringLiteral("SyncServiceLog.log")).contains(QStringLiteral("30 bytes of a partial entry")));
}

// A writer killed at any moment leaves one whole snapshot, the old or the new, never a torn one.
TEST_F(CdbFileTest, AKilledWriterLeavesAWholeSnapshot) {
  CCdbFile file;
  file.SetCdbFileName(4);
  ASSERT_TRUE(file.WriteCdbRecords(Entries(1000, 1)));
  const pid_t writer = fork();
  ASSERT_GE(writer, 0);
  if (writer == 0) {
    for (uint8_t round = 2;; round = static_cast<uint8_t>(round % 200 + 2)) file.WriteCdbVector(Entries(3000, round));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  kill(writer, SIGKILL);
  waitpid(writer, nullptr, 0);
  const QList<CdbEntry> entries = Load(4);
  ASSERT_TRUE(entries.size() == 1000 || entries.size() == 3000) << entries.size();
  for (const CdbEntry& entry : entries) ASSERT_EQ(entry.digest, entries.front().digest);
}

// The journal beside the snapshot: changes appended at once, the snapshot written once later.
TEST_F(CdbFileTest, TheJournalIsAppliedOnLoadUpToATornLastRecord) {
  CCdbFile file;
  file.SetCdbFileName(9);
  ASSERT_TRUE(file.WriteCdbRecords({Entry(1, 1, 0x01), Entry(1, 2, 0x02), Entry(1, 3, 0x03)}));
  const SnapshotJournal journal = file.Journal();
  ASSERT_TRUE(journal.Append({{SnapshotChange::kAdd, CdbEntry::InDoubt(1, 4)}, {SnapshotChange::kRemove, Entry(1, 2, 0)}}));
  ASSERT_TRUE(journal.Append({{SnapshotChange::kSetDigest, Entry(1, 4, 0x04)}, {SnapshotChange::kSetDigest, Entry(1, 1, 0x11)}}));
  const QList<CdbEntry> applied = {Entry(1, 1, 0x11), Entry(1, 3, 0x03), Entry(1, 4, 0x04)};
  EXPECT_EQ(Load(9), applied);

  // A crash in the middle of an append leaves part of a record: it is left out, and what is
  // appended after it is read.
  const QByteArray torn = SnapshotJournal::Record({{SnapshotChange::kRemove, Entry(1, 3, 0)}}).chopped(5);
  QFile raw(journal.Path());
  ASSERT_TRUE(raw.open(QIODevice::Append));
  raw.write(torn);
  raw.close();
  EXPECT_EQ(Load(9), applied);
  ASSERT_TRUE(journal.Append({{SnapshotChange::kAdd, Entry(5, 1, 0x05)}}));
  EXPECT_EQ(Load(9), applied + QList<CdbEntry>{Entry(5, 1, 0x05)});

  // Written whole, the snapshot holds it all and the journal is gone.
  ASSERT_TRUE(file.FoldJournal());
  EXPECT_FALSE(journal.Exists());
  EXPECT_EQ(Load(9), applied + QList<CdbEntry>{Entry(5, 1, 0x05)});
}

TEST_F(CdbFileTest, AJournalAppliedTwiceGivesWhatItGaveOnce) {
  // A crash between writing the snapshot whole and removing the journal applies it again.
  const QList<SnapshotChange> changes = {{SnapshotChange::kAdd, CdbEntry::InDoubt(1, 7)},
                                         {SnapshotChange::kSetDigest, Entry(1, 7, 0x07)},
                                         {SnapshotChange::kRemove, Entry(1, 1, 0)},
                                         {SnapshotChange::kAdd, Entry(3, 9, 0x09)},
                                         {SnapshotChange::kAdd, CdbEntry::InDoubt(1, 8)},
                                         {SnapshotChange::kRemove, CdbEntry::InDoubt(1, 8)}};
  QList<CdbEntry> once = {Entry(1, 1, 0x01), Entry(1, 2, 0x02)};
  SnapshotJournal::Apply(changes, &once);
  EXPECT_EQ(once, QList<CdbEntry>({Entry(1, 2, 0x02), Entry(1, 7, 0x07), Entry(3, 9, 0x09)}));
  QList<CdbEntry> twice = once;
  SnapshotJournal::Apply(changes, &twice);
  EXPECT_EQ(twice, once);
  EXPECT_TRUE(CdbEntry::InDoubt(1, 8).IsInDoubt());
  EXPECT_FALSE(Entry(1, 8, 0x01).IsInDoubt());
}

TEST_F(CdbFileTest, RemovingTheSnapshotTakesItsJournalAndDeliveryNote) {
  CCdbFile file;
  file.SetCdbFileName(11);
  ASSERT_TRUE(file.WriteCdbRecords({Entry(1, 1, 0x01)}));
  ASSERT_TRUE(file.Journal().Append({{SnapshotChange::kAdd, Entry(1, 2, 0x02)}}));
  ASSERT_TRUE(file.NoteDeliveryStarted());
  EXPECT_TRUE(file.DeliveryWasCutShort());
  file.Remove();
  EXPECT_FALSE(QFile::exists(file.Path()));
  EXPECT_FALSE(file.Journal().Exists());
  EXPECT_FALSE(file.DeliveryWasCutShort());
  EXPECT_TRUE(Load(11).isEmpty());
}

// The pass appends a bunch's changes to the journal and rewrites the snapshot only at its end:
// a writer killed in between leaves the old snapshot and the journal, and the next start loads
// the two as one and folds them.
TEST_F(CdbFileTest, AWriterKilledBetweenTheJournalAndTheSnapshotRewriteLosesNoChange) {
  CCdbFile file;
  file.SetCdbFileName(12);
  ASSERT_TRUE(file.WriteCdbRecords(Entries(1000, 0x01)));
  QFile snapshotFile(file.Path());
  ASSERT_TRUE(snapshotFile.open(QIODevice::ReadOnly));
  const QByteArray before = snapshotFile.readAll();
  snapshotFile.close();
  QList<SnapshotChange> bunch;
  for (int32_t index = 1; index <= 10; ++index) bunch.append({SnapshotChange::kRemove, Entry(1, index, 0)});
  for (int32_t index = 500; index < 505; ++index) bunch.append({SnapshotChange::kSetDigest, Entry(1, index, 0x05)});
  for (int32_t index = 1001; index <= 1020; ++index) bunch.append({SnapshotChange::kAdd, Entry(1, index, 0x02)});

  int appended[2];
  ASSERT_EQ(pipe(appended), 0);
  const pid_t writer = fork();
  ASSERT_GE(writer, 0);
  if (writer == 0) {
    QList<CdbEntry> entries;
    file.LoadCdbRecords(&entries);
    const char done = file.Journal().Append(bunch) ? 1 : 0;
    if (write(appended[1], &done, 1) != 1) _exit(1);
    for (;;) pause();  // killed here, before the snapshot is written whole
  }
  close(appended[1]);
  char done = 0;
  ASSERT_EQ(read(appended[0], &done, 1), 1);
  close(appended[0]);
  kill(writer, SIGKILL);
  waitpid(writer, nullptr, 0);
  ASSERT_EQ(done, 1);

  ASSERT_TRUE(snapshotFile.open(QIODevice::ReadOnly));
  EXPECT_EQ(snapshotFile.readAll(), before) << "the snapshot is written only at the end of the pass";
  snapshotFile.close();
  ASSERT_TRUE(file.Journal().Exists());
  QList<CdbEntry> expected = Entries(1000, 0x01);
  SnapshotJournal::Apply(bunch, &expected);
  ASSERT_EQ(expected.size(), 1010);
  EXPECT_EQ(Load(12), expected);

  ASSERT_TRUE(file.FoldJournal());
  EXPECT_FALSE(file.Journal().Exists());
  EXPECT_EQ(Load(12), expected);
}

// A writer killed while it appends leaves whole records and at most one torn one after them:
// loading applies exactly the whole ones and cuts the torn one off.
TEST_F(CdbFileTest, AWriterKilledMidAppendLeavesOnlyWholeRecordsApplied) {
  constexpr int32_t kPerRecord = 5000;
  CCdbFile file;
  file.SetCdbFileName(13);
  ASSERT_TRUE(file.WriteCdbRecords(Entries(1, 0x01)));
  const SnapshotJournal journal = file.Journal();
  const pid_t writer = fork();
  ASSERT_GE(writer, 0);
  if (writer == 0) {
    for (int32_t record = 0;; ++record) {
      QList<SnapshotChange> changes;
      for (int32_t i = 1; i <= kPerRecord; ++i) changes.append({SnapshotChange::kAdd, Entry(2, record * kPerRecord + i, 0x02)});
      if (!journal.Append(changes)) _exit(1);
    }
  }
  const qsizetype recordSize = SnapshotJournal::Record({{SnapshotChange::kAdd, Entry(2, 1, 0x02)}}).size() +
                               (kPerRecord - 1) * (1 + CdbEntry::kSize);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (QFileInfo(journal.Path()).size() < 2 * recordSize && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  std::this_thread::sleep_for(std::chrono::milliseconds(std::random_device()() % 50));
  kill(writer, SIGKILL);
  int status = 0;
  waitpid(writer, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself";

  const QList<CdbEntry> loaded = Load(13);
  const qsizetype added = loaded.size() - 1;
  ASSERT_GE(added, 2 * kPerRecord);
  EXPECT_EQ(added % kPerRecord, 0) << "part of a record was applied";
  for (qsizetype i = 0; i < added; ++i) ASSERT_EQ(loaded.at(i + 1), Entry(2, static_cast<int32_t>(i + 1), 0x02));
  EXPECT_EQ(QFileInfo(journal.Path()).size(), added / kPerRecord * recordSize) << "a torn record stays behind";
}
