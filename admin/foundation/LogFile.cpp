#include "admin/foundation/LogFile.h"

#include "shared/LogLine.h"

#include <QDir>

CLogFile::CLogFile(const QString& folder, const QString& fileName)
    : m_file(folder + fileName), m_strFolder(folder), m_strFileName(fileName) {
  if (folder.isEmpty()) return;  // no folder for the log: stay silent
  // Unbuffered: each line reaches the file in one write.
  if (!m_file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered)) return;
  m_bOpen = true;
  // A new file, or one left empty, starts with the byte-order mark.
  if (m_file.size() == 0) m_file.write(logline::ByteOrderMark());
}

CLogFile::~CLogFile() = default;

void CLogFile::WriteLog(int code, const QString& text) {
  if (!m_bOpen) return;
  SeekLogEnd();
  m_file.write(logline::FormatNow(code, text));
  m_file.flush();
}

void CLogFile::SeekLogEnd() { m_file.seek(m_file.size()); }

QString CLogFile::TodaysFolder(const QString& logsFolder) {
  const QString folder = logsFolder + logline::DayFolderName(QDate::currentDate());
  if (!QDir(logsFolder).exists()) return {};
  // The sync program may make the same day folder at the same moment: only a folder that is
  // still missing after the attempt to make it counts as a failure.
  if (!QDir().mkdir(folder) && !QDir(folder).exists()) return {};
  return folder + u'/';
}
