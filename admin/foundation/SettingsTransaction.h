#pragma once

class CDatabseConnection;

// A transaction on the settings connection: the statements run while it lives are one unit,
// rolled back unless Commit succeeded. Automatic commit is back on when it ends.
class SettingsTransaction {
 public:
  explicit SettingsTransaction(CDatabseConnection& connection);
  ~SettingsTransaction();
  SettingsTransaction(const SettingsTransaction&) = delete;
  SettingsTransaction& operator=(const SettingsTransaction&) = delete;

  // False when automatic commit could not be switched off: nothing may run as a unit then.
  bool IsOpen() const { return m_bOpen; }
  // True when the statements are committed; a failed commit leaves them to the rollback.
  bool Commit();

 private:
  CDatabseConnection& m_connection;
  bool m_bOpen = false;
  bool m_bCommitted = false;
};
