#pragma once

#include <QString>

class SyncControlPort;

// The switch between the two ways the sync program runs: as the service (1) or as a program the
// starter launches at log-on (0). A switch that fails leaves the old mode whole.
class SyncModeSwitch {
 public:
  explicit SyncModeSwitch(SyncControlPort& port) : m_port(port) {}

  // True when the mode dialog may close: the switch is done, or `chosen` is the current mode.
  // False after a box that tells what failed.
  bool Switch(int current, int chosen);

 private:
  bool ToService();
  bool ToApplication();
  // Puts back what the switch to the service changed of program mode.
  void RestoreProgramMode(int syncServiceStatus, bool hadShortcut);
  bool Fail(int code, const char16_t* line, const QString& box);

  SyncControlPort& m_port;
};
