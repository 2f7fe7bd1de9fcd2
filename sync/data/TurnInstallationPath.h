#pragma once

#include <QString>

// The installation path of one worker turn, read from the registry once when the turn starts:
// while an object lives, the log lines of its thread go under the folder it read instead of
// reading the registry for every line. Lines outside a turn (start-up, the control loop) still
// read it for each line.
class TurnInstallationPath {
 public:
  TurnInstallationPath();
  ~TurnInstallationPath();
  TurnInstallationPath(const TurnInstallationPath&) = delete;
  TurnInstallationPath& operator=(const TurnInstallationPath&) = delete;

  // The path of the calling thread's turn, or the registry's value outside a turn.
  static QString Current();

 private:
  const QString m_strPath;
  const TurnInstallationPath* const m_pOuter;  // a turn inside a turn hands back to it at its end
};
