#include "admin/shell/ExcelConnDlg.h"

#include "admin/shell/BMButton.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/HelpBalloon.h"

#include <QButtonGroup>
#include <QRadioButton>

namespace {

constexpr int kHelpTopic = 10;

}  // namespace

CExcelConnDlg::CExcelConnDlg(QWidget* parent)
    : QDialog(parent),
      m_pFirstRowHeader(new QRadioButton(QStringLiteral("Use first row as a field header"), this)),
      m_pWorksheet(new QRadioButton(QStringLiteral("View As Excel Worksheet"), this)) {
  setWindowTitle(QStringLiteral("Excel Database Connection"));
  setFixedSize(360, 160);
  ApplyDialogBrush(this);
  setFont(MakeFont(QStringLiteral("Verdana"), -11, 400));
  AddFrame(this, QStringLiteral("1203"), QRect(10, 8, 340, 96));
  m_pFirstRowHeader->setObjectName(QStringLiteral("1072"));
  m_pFirstRowHeader->setGeometry(30, 30, 300, 22);
  m_pWorksheet->setObjectName(QStringLiteral("1073"));
  m_pWorksheet->setGeometry(30, 64, 300, 22);
  auto* choices = new QButtonGroup(this);
  choices->addButton(m_pFirstRowHeader, 0);
  choices->addButton(m_pWorksheet, 1);
  m_pFirstRowHeader->setChecked(m_nChoice == 0);
  m_pWorksheet->setChecked(m_nChoice == 1);
  auto* ok = new CBMButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("1"));
  ok->setGeometry(90, 118, 80, 26);
  ok->setDefault(true);
  auto* cancel = new CBMButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("2"));
  cancel->setGeometry(180, 118, 80, 26);
  auto* help = new CBMButton(QStringLiteral("Help"), this);
  help->setObjectName(QStringLiteral("1015"));
  help->setGeometry(270, 118, 80, 26);
  m_pHelp = help;
  connect(ok, &QPushButton::clicked, this, &CExcelConnDlg::OnOK);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, &CExcelConnDlg::OnBnClickedHelp);
}

void CExcelConnDlg::OnOK() {
  m_nChoice = m_pWorksheet->isChecked() ? 1 : 0;
  accept();
}

void CExcelConnDlg::OnBnClickedHelp() { ShowHelpBalloon(kHelpTopic, m_pHelp, BalloonAnchor::DialogHelpButton); }
