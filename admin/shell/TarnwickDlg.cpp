#include "admin/shell/TarnwickDlg.h"

#include "admin/foundation/AppLog.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/TarnwickApp.h"

CTarnwickDlg::CTarnwickDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Tarnwick Plus Lite - Personal Edition"));
  setFixedSize(970, 530);
  ApplyDialogBrush(this);
  OnInitDialog();
}

void CTarnwickDlg::OnInitDialog() {
  const CTarnwickApp* app = GetTarnwickApp();
  if (app == nullptr || app->IsLoggingEnabled()) WriteAppLog(10, QStringLiteral("Tarnwick Plus Lite Started..."));
}
