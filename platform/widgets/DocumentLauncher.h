#pragma once

#include <QString>

#include <functional>

namespace platform {

// Opens a document with the desktop's default application for its kind, as a double click in
// the file manager would. False when the desktop could not start one.
bool OpenDocument(const QString& path);

using DocumentLauncher = std::function<bool(const QString& path)>;

// Routes every later OpenDocument to `launcher` (tests record the documents); an empty
// launcher restores the desktop's.
void SetDocumentLauncher(DocumentLauncher launcher);

}  // namespace platform
