#pragma once

namespace admin { class CDatabseConnection; }

// The statements run on the connection while it lives make up one transaction: Commit() keeps
// them, anything else (a failure, an early return) rolls them back. The connection commits
// each statement on its own again afterwards.
class SettingsTransaction {
 public:
  explicit SettingsTransaction(admin::CDatabseConnection& connection);
  ~SettingsTransaction();
  SettingsTransaction(const SettingsTransaction&) = delete;
  SettingsTransaction& operator=(const SettingsTransaction&) = delete;

  // False when the transaction could not be started; nothing should then be run under it.
  bool IsOpen() const { return m_bOpen; }
  // True when the statements are stored.
  bool Commit();

 private:
  bool End(short completion);

  admin::CDatabseConnection& m_connection;
  bool m_bOpen = false;
};
