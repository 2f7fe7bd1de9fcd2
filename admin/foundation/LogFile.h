#pragma once

#include <QFile>
#include <QString>

// The administration program's diagnostic log: a UTF-16LE text file with a byte-order mark and
// one time-stamped line per event (shared/LogLine.h). Each line is one write of the whole line
// to the end of the file, so every line is on disk before WriteLog returns. When the file cannot
// be opened the object stays silent and the program runs on.
class CLogFile {
 public:
  // `folder` ends in a separator; the file is folder + fileName, appended to when it exists.
  CLogFile(const QString& folder, const QString& fileName);
  ~CLogFile();
  CLogFile(const CLogFile&) = delete;
  CLogFile& operator=(const CLogFile&) = delete;

  void WriteLog(int code, const QString& text);
  bool IsOpen() const { return m_bOpen; }
  QString FilePath() const { return m_strFolder + m_strFileName; }

  // The folder of today's log below `logsFolder` ("Logs/"), created when missing (only that
  // last level), with its trailing separator; empty when it cannot be made.
  static QString TodaysFolder(const QString& logsFolder);

 private:
  void SeekLogEnd();

  QFile m_file;
  bool m_bOpen = false;
  QString m_strFolder;
  QString m_strFileName;
};
