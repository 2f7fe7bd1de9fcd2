#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace platform {

// What a file-open dialog is asked for: Qt's name filters (";;" between them) and the suffix
// given to a name typed without one.
struct FileOpenRequest {
  QString nameFilters;
  QString defaultSuffix;
};

// Asks for one existing file; the chosen path, empty when the user cancelled. The process's
// current folder stays as it was.
QString GetOpenFileName(QWidget* parent, const FileOpenRequest& request);

using FileOpenChooser = std::function<QString(const FileOpenRequest& request)>;

// Routes every later GetOpenFileName to `chooser` (tests choose the file); an empty chooser
// restores the dialog.
void SetFileOpenChooser(FileOpenChooser chooser);

}  // namespace platform
