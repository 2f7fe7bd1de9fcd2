#include "shared/odbc/ColumnKind.h"
#include "sync/data/ReadAheadRows.h"

#include <gtest/gtest.h>

#include <sqlext.h>

#include <array>
#include <cstring>

namespace {

using data::FetchedCell;
using data::FetchedRow;
using syncservice::ReadAheadRows;

// A result whose row n holds the integer n and the text "row n"; the fetch of `failAt` fails.
class CountingResult {
 public:
  explicit CountingResult(int32_t failAt = -1) : m_failAt(failAt) {}

  bool FetchNext(FetchedRow* row) {
    if (m_next == m_failAt) return false;
    std::array<char, 20> number{};
    std::memcpy(number.data(), &m_next, sizeof m_next);
    const QString text = QStringLiteral("row %1").arg(m_next);
    row->Clear();
    row->Append(FetchedCell{ColumnKind::Int32, sizeof m_next, number.data(), 20});
    row->Append(FetchedCell{ColumnKind::Text, 2 * text.size(), reinterpret_cast<const char*>(text.utf16()),
                            2 * text.size()});
    ++m_next;
    ++m_fetched;
    return true;
  }
  int32_t Fetched() const { return m_fetched; }

 private:
  int32_t m_next = 0;
  int32_t m_fetched = 0;
  const int32_t m_failAt;
};

std::array<uint8_t, kRowDigestSize> DigestOfRow(int32_t n) {
  std::array<uint8_t, kRowDigestSize> digest{};
  ComputeTextDigest(QStringLiteral("%1#row %1").arg(n), digest.data());
  return digest;
}

TEST(ReadAheadRows, EveryRowHasItsOwnDigestAndValuesInOrder) {
  for (const int32_t count : {0, 1, 255, 256, 257, 1023, 1024, 1025, 5000}) {
    CountingResult result;
    ReadAheadRows rows(count, [&result](FetchedRow* row) { return result.FetchNext(row); });
    std::array<uint8_t, kRowDigestSize> digest{};
    for (int32_t n = 0; n < count; ++n) {
      ASSERT_TRUE(rows.Digest(n, digest.data())) << count << " rows, row " << n;
      ASSERT_EQ(digest, DigestOfRow(n)) << count << " rows, row " << n;
      ASSERT_TRUE(rows.Digest(n, digest.data())) << "the row read last may be asked for again";
      ASSERT_EQ(rows.Row(n).Values().at(0).integer, n);
    }
    EXPECT_FALSE(rows.Digest(count, digest.data())) << "no row after the last";
    EXPECT_EQ(result.Fetched(), count) << "nothing is fetched beyond the rows counted";
  }
}

TEST(ReadAheadRows, AFailedFetchFailsItsRowAndTheRowsBeforeItStand) {
  CountingResult result(1300);
  ReadAheadRows rows(2600, [&result](FetchedRow* row) { return result.FetchNext(row); });
  std::array<uint8_t, kRowDigestSize> digest{};
  for (int32_t n = 0; n < 1300; ++n) ASSERT_TRUE(rows.Digest(n, digest.data())) << n;
  EXPECT_EQ(digest, DigestOfRow(1299));
  EXPECT_FALSE(rows.Digest(1300, digest.data()));
  EXPECT_FALSE(rows.Digest(1301, digest.data()));
  EXPECT_FALSE(rows.Digest(2599, digest.data())) << "no row after a failed fetch";
}

TEST(ReadAheadRows, ARowLeftBehindIsRefusedNotWaitedFor) {
  CountingResult result;
  ReadAheadRows rows(20000, [&result](FetchedRow* row) { return result.FetchNext(row); });
  std::array<uint8_t, kRowDigestSize> digest{};
  for (int32_t n = 0; n < 20000; n += 997) ASSERT_TRUE(rows.Digest(n, digest.data())) << n;
  EXPECT_FALSE(rows.Digest(0, digest.data()));
  EXPECT_TRUE(rows.Digest(19999, digest.data()));
  EXPECT_EQ(digest, DigestOfRow(19999));
}

TEST(ReadAheadRows, LeftBeforeTheEndItStopsItsWorker) {
  CountingResult result;
  {
    ReadAheadRows rows(1000000, [&result](FetchedRow* row) { return result.FetchNext(row); });
    std::array<uint8_t, kRowDigestSize> digest{};
    ASSERT_TRUE(rows.Digest(0, digest.data()));
  }
  EXPECT_LT(result.Fetched(), 10000) << "only a little is read ahead";
}

}  // namespace
