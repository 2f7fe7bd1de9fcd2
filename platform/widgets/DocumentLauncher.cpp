#include "platform/widgets/DocumentLauncher.h"

#include <QDesktopServices>
#include <QUrl>

#include <utility>

namespace platform {

namespace {

DocumentLauncher& CurrentLauncher() {
  static DocumentLauncher launcher;
  return launcher;
}

}  // namespace

bool OpenDocument(const QString& path) {
  if (CurrentLauncher()) return CurrentLauncher()(path);
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void SetDocumentLauncher(DocumentLauncher launcher) { CurrentLauncher() = std::move(launcher); }

}  // namespace platform
