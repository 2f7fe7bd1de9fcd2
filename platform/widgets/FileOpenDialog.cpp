#include "platform/widgets/FileOpenDialog.h"

#include <QFileDialog>

#include <utility>

namespace platform {

namespace {

FileOpenChooser& CurrentChooser() {
  static FileOpenChooser chooser;
  return chooser;
}

}  // namespace

QString GetOpenFileName(QWidget* parent, const FileOpenRequest& request) {
  if (CurrentChooser()) return CurrentChooser()(request);
  QFileDialog dialog(parent);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setNameFilter(request.nameFilters);
  dialog.setDefaultSuffix(request.defaultSuffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

void SetFileOpenChooser(FileOpenChooser chooser) { CurrentChooser() = std::move(chooser); }

}  // namespace platform
