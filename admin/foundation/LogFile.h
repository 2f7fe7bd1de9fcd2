#pragma once

#include <QFile>
#include <QString>

// The administration program's diagnostic log: a UTF-16LE text file with a byte-order mark and
// one time-stamped line per event, "<hh:mm:ss> <code> text\r\n". Each line is one write and one
// flush, so every line is on disk before WriteLog returns. When the file cannot be opened the
// object stays silent and the program runs on.
class CLogFile {
 public:
  // `folder` ends in a separator; the file is folder + fileName, appended to when it exists.
  CLogFile(const QString& folder, const QString& fileName);
  ~CLogFile();
  CLogFile(const CLogFile&) = delete;
  CLogFile& operator=(const CLogFile&) = delete;

  void WriteLog(int code, const QString& text);
  bool IsOpen() const { return m_bOpen; }

  // The line as written for `code` and `text` at hour:minute:second, without the byte-order mark.
  static QByteArray FormatLine(int hour, int minute, int second, int code, const QString& text);

 private:
  void SeekLogEnd();

  QFile m_file;
  bool m_bOpen = false;
  QString m_strFolder;
  QString m_strFileName;
};
