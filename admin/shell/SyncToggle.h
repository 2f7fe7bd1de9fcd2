#pragma once

#include <QString>

class SyncControlPort;

// What the Preferences module shows of synchronisation: the status text and the caption of the
// Start/Stop button (left as it is when the state is unknown).
struct SyncStatusView {
  QString status;
  QString buttonText;
};

// The Preferences module's one Start/Stop button, in service and in program mode, and the
// reading of the state it shows.
class SyncToggle {
 public:
  explicit SyncToggle(SyncControlPort& port) : m_port(port) {}

  // The state of the current mode; at start-up also the line that names the mode.
  void ReadState(bool startUp, SyncStatusView* view);
  // Stops a running synchronisation after asking, or starts a stopped one.
  void Toggle(SyncStatusView* view);

 private:
  void ToggleService(SyncStatusView* view);
  void ToggleProgram(SyncStatusView* view);
  bool ConfirmStop();
  void StopService(SyncStatusView* view);
  void StartService(SyncStatusView* view);
  void StopProgram(SyncStatusView* view);
  void StartProgram(SyncStatusView* view);
  void Show(SyncStatusView* view, const QString& status, bool running);

  SyncControlPort& m_port;
};
