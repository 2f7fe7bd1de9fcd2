#include "admin/shell/AboutDlg.h"

#include "admin/shell/BMButton.h"
#include "admin/shell/Bitmaps.h"
#include "admin/shell/DialogLook.h"
#include "shared/ProgramVersion.h"

#include <QLabel>
#include <QPixmap>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About Tarnwick Plus Lite"));
  setFixedSize(360, 130);
  ApplyDialogBrush(this);
  setFont(MakeFont(QStringLiteral("Verdana"), -11, 400));
  auto* icon = new QLabel(this);
  icon->setPixmap(QPixmap::fromImage(LoadBitmap(155)));
  icon->setGeometry(16, 16, 32, 32);
  auto* version = new QLabel(QStringLiteral("Tarnwick Plus Lite Personal Edition \r\nv%1.%2 (%3)")
                                 .arg(GetMajorVersion())
                                 .arg(GetMinorVersion())
                                 .arg(GetBuildString()),
                             this);
  version->setObjectName(QStringLiteral("1214"));
  version->setGeometry(64, 14, 280, 40);
  auto* ok = new CBMButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("1"));
  ok->setGeometry(264, 90, 80, 26);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
