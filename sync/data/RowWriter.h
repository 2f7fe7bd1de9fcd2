#pragma once

#include "shared/devicerecord/DeviceRecord.h"
#include "sync/data/RowDigest.h"

#include <sql.h>

#include <QList>
#include <QString>

#include <vector>

namespace syncservice {

// One supported column of a profile query as the writes see it.
struct WriteColumn {
  QString name;
  int16_t kind = 0;
  int16_t size = 0;
  int16_t digits = 0;
  bool autoNumber = false;
  bool key = false;
};

// Writes device changes into the table of a profile query by searched statements with bound
// parameters (INSERT, UPDATE and DELETE by the key columns, or by every column when the table
// has no key among them), and reads a written row back through the profile query so that its
// digest is the stored row's.
class RowWriter {
 public:
  // `columns` are the query's supported columns, `resultKinds` the kinds of all its columns.
  RowWriter(SQLHDBC connection, QString table, QString query, std::vector<WriteColumn> columns,
            std::vector<int16_t> resultKinds);

  // Inserts the values; AutoNumber columns whose value is NULL, 0 or empty are left to the
  // database. `digest` gets the stored row's digest, `stored` (when given) its values: every write
  // reads the row back through the profile query.
  bool Insert(const QList<devicerecord::Value>& values, uint8_t digest[kRowDigestSize], QString* error,
              QList<devicerecord::Value>* stored = nullptr);
  // Writes the columns of `values` that differ from `current` (the row's stored values) into that
  // row; AutoNumber columns only when `writeAutoNumber`.
  bool Update(const QList<devicerecord::Value>& values, const QList<devicerecord::Value>& current,
              bool writeAutoNumber, uint8_t digest[kRowDigestSize], QString* error,
              QList<devicerecord::Value>* stored = nullptr);
  bool Delete(const QList<devicerecord::Value>& current, QString* error);
  // The digest of the stored row that has `values` (found by the key columns, or by all).
  bool ReadStored(const QList<devicerecord::Value>& values, uint8_t digest[kRowDigestSize], QString* error,
                  QList<devicerecord::Value>* stored = nullptr) const;
  // Whether rows are found by key columns (else by every column, which may find several).
  bool ByKey() const;
  // `values` with the columns of `changes` that differ from them, as Update writes them.
  QList<devicerecord::Value> Merged(const QList<devicerecord::Value>& changes, const QList<devicerecord::Value>& values,
                                    bool writeAutoNumber) const;
  // Whether Update would write column `column` of `changes` over `values`.
  bool Writes(size_t column, const QList<devicerecord::Value>& changes, const QList<devicerecord::Value>& values,
              bool writeAutoNumber) const;

 private:
  struct Parameter;
  // Executes `sql` with the parameters; the rows it changed, -1 on failure with `error` set.
  SQLLEN Execute(const QString& sql, std::vector<Parameter>* parameters, QString* error) const;
  // The condition and parameters that find the row whose values are `values`.
  QString Where(const QList<devicerecord::Value>& values, std::vector<Parameter>* parameters) const;
  bool ReadBack(const QString& where, std::vector<Parameter>* parameters, uint8_t digest[kRowDigestSize],
                QString* error, QList<devicerecord::Value>* stored) const;
  // The row the last INSERT made, found by the value the database gave its AutoNumber column.
  bool ReadBackInserted(size_t autoColumn, uint8_t digest[kRowDigestSize], QString* error,
                        QList<devicerecord::Value>* stored) const;
  QString Quoted(const QString& name) const;

  SQLHDBC m_connection;
  QString m_table;
  QString m_query;
  std::vector<WriteColumn> m_columns;
  std::vector<int16_t> m_resultKinds;
  QString m_quote;
};

}  // namespace syncservice
