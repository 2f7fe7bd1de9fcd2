#include "admin/profiles/ParameterDialog.h"

#include "admin/foundation/AppLog.h"
#include "admin/profiles/ProcedureCall.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/HelpBalloon.h"
#include "admin/shell/ParameterListCtrl.h"
#include "platform/widgets/MessageBox.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>

namespace {

constexpr int kColumnCount = 4;

}  // namespace

CParameterDialog::CParameterDialog(QList<ParameterRecord>* records, int mode, QWidget* parent)
    : QDialog(parent), m_pRecords(records) {
  setWindowTitle(QStringLiteral("Parameter Values"));
  setFixedSize(460, 270);
  ApplyDialogBrush(this);
  setFont(MakeFont(QStringLiteral("Verdana"), -11, 400));
  m_pList = new CParameterListCtrl(this);
  m_pList->setObjectName(QStringLiteral("1052"));
  m_pList->setGeometry(10, 10, 440, 170);
  m_pList->SetEditableColumn(kValueColumn);
  m_pNote = new QLabel(this);
  m_pNote->setObjectName(QStringLiteral("1055"));
  m_pNote->setGeometry(10, 186, 440, 34);
  m_pNote->setWordWrap(true);
  if (mode == 2)
    m_pNote->setText(
        QStringLiteral("Note : These parameters will be used to call stored procedure on every autosync interval."));
  auto* ok = new CBMButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("1"));
  ok->setGeometry(190, 232, 80, 26);
  auto* cancel = new CBMButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("1153"));
  cancel->setGeometry(280, 232, 80, 26);
  m_pHelp = new CBMButton(QStringLiteral("Help"), this);
  m_pHelp->setObjectName(QStringLiteral("1175"));
  m_pHelp->setGeometry(370, 232, 80, 26);
  connect(ok, &QPushButton::clicked, this, &CParameterDialog::OnOK);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_pHelp, &QPushButton::clicked, this, &CParameterDialog::OnHelp);
  FillList();
}

void CParameterDialog::FillList() {
  const int width = m_pList->viewport()->width() / kColumnCount;
  int column = 0;
  for (const QString& heading :
       {QStringLiteral("Name"), QStringLiteral("Datatype"), QStringLiteral("Direction"), QStringLiteral("Value")}) {
    m_pList->InsertColumn(column++, heading, width);
  }
  for (const ParameterRecord& record : *m_pRecords) {
    const int row = m_pList->InsertItem(m_pList->GetItemCount(), record.name);
    m_pList->SetItemText(row, 1, record.typeName);
    m_pList->SetItemText(row, 2, record.directionName);
    m_pList->SetItemText(row, kValueColumn, record.value);
  }
}

void CParameterDialog::closeEvent(QCloseEvent* event) { event->ignore(); }

QString CParameterDialog::CheckValues() const {
  for (qsizetype row = 0; row < m_pRecords->size(); ++row) {
    const QString value = m_pList->GetItemText(static_cast<int>(row), kValueColumn);
    if (value.isEmpty()) return QStringLiteral("Please enter all paramater values");
  }
  for (qsizetype row = 0; row < m_pRecords->size(); ++row) {
    const ParameterRecord& record = m_pRecords->at(row);
    if (!IsAcceptedParameterValue(record.typeName, m_pList->GetItemText(static_cast<int>(row), kValueColumn)))
      return QStringLiteral("The value of parameter %1 (%2) must be a number or null.")
          .arg(record.name, record.typeName);
  }
  return {};
}

void CParameterDialog::OnOK() {
  m_pList->EndEdit();
  if (const QString refusal = CheckValues(); !refusal.isEmpty()) {
    platform::MessageBox(this, refusal, ProgramTitle(), platform::MB_OK | platform::MB_ICONINFORMATION);
    return;
  }
  for (qsizetype row = 0; row < m_pRecords->size(); ++row)
    (*m_pRecords)[row].value = m_pList->GetItemText(static_cast<int>(row), kValueColumn);
  accept();
}

void CParameterDialog::OnHelp() { ShowHelpBalloon(kHelpTopic, m_pHelp, BalloonAnchor::DialogHelpButton); }
