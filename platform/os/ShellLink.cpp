#include "platform/os/ShellLink.h"

#include "platform/files/AtomicFile.h"

#include <QFile>
#include <QFileInfo>

namespace platform {
namespace {

// A string value of a desktop entry: backslashes and the characters that would end the line
// are written as the format's escapes.
QString EntryValue(const QString& value) {
  QString escaped;
  for (const QChar c : value) {
    switch (c.unicode()) {
      case '\\': escaped += QStringLiteral("\\\\"); break;
      case '\n': escaped += QStringLiteral("\\n"); break;
      case '\r': escaped += QStringLiteral("\\r"); break;
      case '\t': escaped += QStringLiteral("\\t"); break;
      default: escaped += c;
    }
  }
  return escaped;
}

// One argument of an Exec value: in double quotes with '"', '`', '$' and '\' escaped inside
// them, and '%' doubled since a single one starts a field code.
QString ExecArgument(const QString& argument) {
  QString quoted;
  for (const QChar c : argument) {
    if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted += u'\\';
    quoted += c;
    if (c == u'%') quoted += u'%';
  }
  return u'"' + quoted + u'"';
}

bool IsProgram(const QString& target) { return target.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive); }

QString ExecValue(const ShellLink& link) {
  QString command = IsProgram(link.target) ? ExecArgument(link.target.chopped(4))
                                           : QStringLiteral("xdg-open ") + ExecArgument(link.target);
  if (!link.arguments.isEmpty()) command += u' ' + ExecArgument(link.arguments);
  return EntryValue(command);
}

}  // namespace

QString ShellLinkPath(const QString& folder, const QString& linkName) {
  QString name = linkName;
  if (name.endsWith(QStringLiteral(".lnk"), Qt::CaseInsensitive)) name.chop(4);
  return folder + u'/' + name + QStringLiteral(".desktop");
}

bool CreateShellLink(const QString& linkPath, const ShellLink& link) {
  QString entry = QStringLiteral("[Desktop Entry]\nType=Application\nName=") +
                  EntryValue(QFileInfo(linkPath).completeBaseName()) + u'\n';
  if (!link.description.isEmpty()) entry += QStringLiteral("Comment=") + EntryValue(link.description) + u'\n';
  entry += QStringLiteral("Exec=") + ExecValue(link) + u'\n';
  entry += QStringLiteral("Path=") + EntryValue(link.workingFolder) + u'\n';
  entry += QStringLiteral("Terminal=false\n");
  // Desktops start a launcher in the desktop folder only when it is executable, and menus and
  // autostart read entries as whoever logs on: readable by all, executable, writable by its owner.
  return ReplaceFileAtomically(linkPath, entry.toUtf8()) &&
         QFile::setPermissions(linkPath, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                             QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
}

}  // namespace platform
