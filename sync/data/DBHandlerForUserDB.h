#pragma once

#include "sync/data/BoundColumns.h"
#include "sync/data/DatabaseHandler.h"
#include "sync/data/ReadAheadRows.h"
#include "sync/data/RowDigest.h"
#include "sync/data/RowWriter.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QSet>

#include <memory>
#include <optional>

namespace syncservice { class CDatabseConnection; }

// The query source of a profile's own data source: reads its rows as device records with their
// row digests, and applies records received from the devices to it (add, update, delete).
class CDBHandlerForUserDB : public syncservice::CDatabaseHandler {
 public:
  CDBHandlerForUserDB() = default;
  ~CDBHandlerForUserDB() override;

  void BindColumns() override;
  void UnbindColumns() override;

  // Executes the profile query; 0 with "Failed to Initialize User's Profile Database." in `error`.
  int Initialize(const syncservice::CDatabseConnection& connection, const QString& query, QString* error);

  // The record of zero-based `row` and its row digest; its length, 0 when there is none,
  // devicerecord::kRecordNotEncodable (with the digest) when the row cannot travel to a device.
  // Rows are read in ascending order: row 0 is fetched first, the row read last again by its
  // number, any other row as the next one.
  int ReadRecord(int32_t row, QByteArray* record, uint8_t digest[kRowDigestSize]);
  // ReadRecord without the record, which only rows that go out need: 1, or 0 when there is none.
  int ReadDigest(int32_t row, uint8_t digest[kRowDigestSize]);
  // The record of the row read last, as ReadRecord answers it.
  int EncodeReadRow(QByteArray* record) const;

  // Applying a received record: 1 done with the stored row's digest in `digest`, 0 refused or
  // failed with the reason in `error` and nothing written. An update or delete of `row` is
  // refused when `expectedDigest` is given and the row found there has another digest.
  int AddRecord(QByteArrayView record, uint8_t digest[kRowDigestSize], QString* error);
  int UpdateRecord(QByteArrayView record, int32_t row, uint8_t digest[kRowDigestSize], QString* error,
                   const QString& dbType, const uint8_t* expectedDigest = nullptr);
  int DeleteRecord(int32_t row, QString* error, const uint8_t* expectedDigest = nullptr);

  // Whether the writes find a row by the key of the query's table (the query selects all of it):
  // then a row is written by its key, and a batch of writes needs no cursor position.
  bool WritesByKey();
  // Reads every row once, from the first: the values of the first row of each digest in
  // `digests` go to `found`, keyed by the digest. False when a row could not be read.
  bool FindRows(const QSet<QByteArray>& digests, QHash<QByteArray, QList<devicerecord::Value>>* found);
  // An add that leaves the stored row's values in `stored` (when given).
  int AddRecord(QByteArrayView record, uint8_t digest[kRowDigestSize], QList<devicerecord::Value>* stored,
                QString* error);
  // The same writes on the row found by the key in `row` (values as FindRows or a write gave them):
  // an update leaves the stored row's values in `row` and its digest in `digest`. The answers and
  // failure texts are those of UpdateRecord and DeleteRecord.
  int UpdateRecordByKey(QByteArrayView record, QList<devicerecord::Value>* row, uint8_t digest[kRowDigestSize],
                        QString* error, const QString& dbType, const uint8_t* expectedDigest);
  int DeleteRecordByKey(const QList<devicerecord::Value>& row, QString* error, const uint8_t* expectedDigest);

 private:
  bool Position(int32_t row);
  // The digest of `row` read ahead or straight from the cursor; false when it cannot be fetched.
  bool DigestOf(int32_t row, uint8_t digest[kRowDigestSize]);
  // The values of the row read last.
  QList<devicerecord::Value> ReadRowValues() const;
  void StopReadingAhead();
  // The cursor on zero-based `row`, stepping from the first row, with the buffers bound.
  bool PositionForWrite(int32_t row);
  // The row that holds `row`'s key as it is stored now, when it has `expectedDigest` (always
  // without one): 1 with its values in `stored`; else 0 with the failure text for `action`.
  int ReadByKey(const syncservice::RowWriter& writer, const QList<devicerecord::Value>& row,
                const uint8_t* expectedDigest, const char* action, QList<devicerecord::Value>* stored,
                QString* error) const;
  // The received record's values for the supported columns; nothing, with the reason, when the
  // record is malformed or a value does not fit its column.
  std::optional<QList<devicerecord::Value>> DecodeReceived(QByteArrayView record, QString* reason);
  // Whether the positioned row still has the digest the caller expects (always without one).
  bool HasExpectedDigest(const uint8_t* expectedDigest) const;
  syncservice::RowWriter MakeWriter();
  // Whether the driver writes through the profile statement's cursor with SQLSetPos `ability`
  // (SQL_CA1_POS_UPDATE, SQL_CA1_POS_DELETE).
  bool WritesPositioned(SQLUINTEGER ability) const;
  // Puts the columns that `writer` would write into the buffers of the positioned row and
  // updates the row, the other columns with the values fetched into their buffers (not every
  // driver can leave a column out); false, with `reason`, when it fails.
  bool UpdatePositioned(const syncservice::RowWriter& writer, const QList<devicerecord::Value>& values,
                        const QList<devicerecord::Value>& current, bool writeAutoNumber, QString* reason);
  // SQLSetPos of `operation` on the positioned row; false with the statement's diagnostic.
  bool SetPosition(SQLUSMALLINT operation, QString* reason);
  // Whether the changed values fit the bound buffers and the others were fetched whole.
  bool FitsBuffers(const syncservice::RowWriter& writer, const QList<devicerecord::Value>& values,
                   const QList<devicerecord::Value>& current, bool writeAutoNumber) const;

  const syncservice::CDatabseConnection* m_pConnection = nullptr;
  QString m_strQuery;
  syncservice::BoundColumns m_buffers;
  int32_t m_nLastReadRow = -1;
  // The buffers hold the fetched values of m_nLastReadRow (a scrollable cursor fetches it again
  // otherwise).
  bool m_bHoldsLastReadRow = false;
  // A forward-only result is read ahead, its digests made while the next rows are fetched.
  std::unique_ptr<syncservice::ReadAheadRows> m_readAhead;
};
