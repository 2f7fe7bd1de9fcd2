#include "admin/shell/WindowsVistaInfoMessageDialog.h"

#include "admin/foundation/AdminRegistry.h"
#include "admin/foundation/AppLog.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/DialogLook.h"

#include <QCheckBox>
#include <QLabel>

namespace {

const char16_t kNotice[] =
    u"For Windows Vista and Windows 7, Please set \"Run this program as an administrator\" property to following four exe files.\n"
    u"\n"
    u"1. C:\\Program Files\\Tarnwick Plus\\Desktop Files\\TarnwickPlus.exe .\n"
    u"\n"
    u"2. C:\\Program Files\\Tarnwick Plus\\Desktop Files\\TarnwickPlusSyncService.exe .\n"
    u"\n"
    u"3. C:\\Program Files\\Tarnwick Plus\\Desktop Files\\TarnwickPStartSyncService.exe .\n"
    u"\n"
    u"4.C:\\Program Files\\Tarnwick Plus\\Desktop Files\\TarnwickPWinService.exe . \n"
    u"\n"
    u"Please Follow the following steps to set the \"Run this program as an administrator\" to above files.\n"
    u"\n"
    u"1. Right Click on these exe files and select properties.\n"
    u"\n"
    u"2. In \"Privilege Level =\"Enable\" the \"Run this program as an administrator\".\n"
    u"\n"
    u"3. Now click on the Apply button.\n"
    u"\n"
    u"4. Now Run TarnwickPlus desktop software and in Preferences Module, check if \"Start Synchronization\" button is there, click on \"Start Synchronization\" .\n"
    u"\n"
    u"Now you are ready to use the software on Vista or Windows 7.";

}  // namespace

CWindowsVistaInfoMessageDialog::CWindowsVistaInfoMessageDialog(QWidget* parent)
    : QDialog(parent), m_pDoNotShow(new QCheckBox(QStringLiteral("Do not show this message again."), this)) {
  setWindowTitle(QStringLiteral("Administrative settings for windows 7 and windows vista"));
  setFixedSize(560, 420);
  ApplyDialogBrush(this);
  setFont(MakeFont(QStringLiteral("Verdana"), -11, 400));
  auto* notice = new QLabel(QString::fromUtf16(kNotice), this);
  notice->setObjectName(QStringLiteral("1273"));
  notice->setWordWrap(true);
  notice->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  notice->setGeometry(14, 12, 532, 340);
  m_pDoNotShow->setObjectName(QStringLiteral("1272"));
  m_pDoNotShow->setGeometry(14, 380, 300, 22);
  auto* ok = new CBMButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("1"));
  ok->setGeometry(466, 378, 80, 26);
  connect(ok, &QPushButton::clicked, this, &CWindowsVistaInfoMessageDialog::OnOK);
}

void CWindowsVistaInfoMessageDialog::OnOK() {
  WriteAppLog(-1, QStringLiteral("CWindowsVistaInfoMessageDialog::OnOK() start "));
  if (m_pDoNotShow->isChecked() && SetOSVersionMessageFlag() == 1)
    WriteAppLog(-1, QStringLiteral("Check box flag is set to : 1 i.e : checked"));
  WriteAppLog(-1, QStringLiteral("CWindowsVistaInfoMessageDialog::OnOK()End"));
  accept();
}
