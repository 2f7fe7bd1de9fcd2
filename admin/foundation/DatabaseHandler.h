#pragma once

#include "admin/foundation/OdbcRecordSource.h"

namespace admin {

class CDatabseConnection;

// The record source of one SELECT query on a connection: executes it, describes its columns,
// counts its rows and reads the value of a column on the current cursor row as display text.
class CDatabaseHandler : public OdbcRecordSource {
 public:
  // Reads the current cursor row (`row` is not used; MoveToRow or FetchNext position it).
  QString GetFieldValue(int32_t row, int16_t column) override;
  bool MoveToRow(int32_t row) override;
  bool FetchNext(int32_t row) override;
  void BindColumns() override {}
  void UnbindColumns() override {}

  // 1 when the query was prepared and executed, else 0. A query that cannot be prepared is raised
  // as a failure (admin::RaiseFailure), to be shown and logged.
  virtual int ExecuteQuery(const CDatabseConnection& connection, const QString& sql);
  // As GetFieldValue, with texts always read through the value buffer and the columns of no
  // supported kind read as 8-bit hexadecimal text and decoded.
  virtual QString GetFormattedFieldValue(int16_t column);

  // Texts of the text kind are read whole when set, else cut to what the value buffer holds.
  void SetWholeTextFlag(bool wholeText) { m_bWholeText = wholeText; }
  bool GetWholeTextFlag() const { return m_bWholeText; }
  // Forgets the remembered row (a reconnect starts reading afresh).
  void ResetRememberedRow() { m_nRememberedRow = -1; }

 private:
  static constexpr qsizetype kValueBufferBytes = 260;

  bool ExecuteReadOnly(SQLHDBC connection, const QString& sql);
  QString ReadField(int16_t column, bool wholeTextAllowed);
  QString ReadWholeText(int16_t column);
  QString ReadHexText(int16_t column);

  bool m_bWholeText = false;
  int32_t m_nRememberedRow = -1;
};

}  // namespace admin
