#pragma once

#include <QString>

#include <mutex>

// One of the sync program's two logs: "<hh:mm:ss> <code> text\r\n" lines of UTF-16LE text in the
// day folder of each line's own date under the installation's "Desktop Files/Logs" (within a
// worker turn, the installation read at its start: TurnInstallationPath). Every line opens,
// appends and closes the file; a line that cannot be written is lost silently.
class CSyncLogFile {
 public:
  explicit CSyncLogFile(QString fileName);
  CSyncLogFile(const CSyncLogFile&) = delete;
  CSyncLogFile& operator=(const CSyncLogFile&) = delete;

  void WriteLog(int code, const QString& text);

 private:
  QString m_strFileName;
  std::mutex m_mutex;  // both worker threads and the control loop write
};

// "SyncServiceLog.log": the control loop, change detection, the data layer and the send path.
void WriteSyncServiceLog(int code, const QString& text);

// "SyncServiceBackSyncLog.log": back synchronisation, the fetch and acknowledgement path.
void WriteBackSyncLog(int code, const QString& text);

// Writes the block that describes the operating system into the sync-service log.
void SystemOSDetails();
