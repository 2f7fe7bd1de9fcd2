#pragma once

#include <QString>

// Shortcuts as freedesktop desktop entries. A shortcut keeps the name the Windows link file
// would have, with ".desktop" in place of ".lnk", so the same names serve both.
namespace platform {

struct ShellLink {
  QString target;         // a program by its Windows name ("X.exe"), or a document
  QString workingFolder;
  QString arguments;      // one argument; empty for none
  QString description;    // the entry's comment; empty for none
};

// The shell's result codes of a shell-link operation.
inline constexpr long S_OK = 0;
inline constexpr long E_FAIL = static_cast<long>(0x80004005);

// `folder` + "/" + the link's file name with ".lnk" made ".desktop".
QString ShellLinkPath(const QString& folder, const QString& linkName);

// Writes the entry at `linkPath` atomically, with mode 0755: Name (the link file's base name),
// Comment, Path and Exec. A program target is started itself, without ".exe"; a document through
// xdg-open. False when the file cannot be written.
bool CreateShellLink(const QString& linkPath, const ShellLink& link);

}  // namespace platform
