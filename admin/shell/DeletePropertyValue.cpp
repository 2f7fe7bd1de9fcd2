#include "admin/shell/DeletePropertyValue.h"

#include "admin/foundation/AppLog.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/DialogLook.h"
#include "platform/widgets/MessageBox.h"

#include <QLabel>
#include <QListWidget>

CDeletePropertyValue::CDeletePropertyValue(const QStringList& values, QWidget* parent)
    : QDialog(parent), m_values(values), m_pList(new QListWidget(this)) {
  setWindowTitle(QStringLiteral("Delete Property Value"));
  setFixedSize(300, 260);
  ApplyDialogBrush(this);
  setFont(MakeFont(QStringLiteral("Verdana"), -11, 400));
  (new QLabel(QStringLiteral("Select Property Value"), this))->setGeometry(12, 10, 276, 20);
  m_pList->setObjectName(QStringLiteral("1052"));
  m_pList->setGeometry(12, 34, 276, 170);
  auto* remove = new CBMButton(QStringLiteral("Delete"), this);
  remove->setObjectName(QStringLiteral("1"));
  remove->setGeometry(118, 218, 80, 26);
  remove->setDefault(true);
  auto* cancel = new CBMButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("2"));
  cancel->setGeometry(208, 218, 80, 26);
  connect(remove, &QPushButton::clicked, this, &CDeletePropertyValue::OnOK);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  OnInitDialog();
}

void CDeletePropertyValue::OnInitDialog() {
  m_pList->addItems(m_values);
  if (m_pList->count() > 0) m_pList->setCurrentRow(0);
}

// With nothing selected there is no value to remove: Delete does nothing.
void CDeletePropertyValue::OnOK() {
  const QList<QListWidgetItem*> selected = m_pList->selectedItems();
  if (selected.isEmpty()) return;
  m_strChosenValue = selected.front()->text();
  const int answer = platform::MessageBox(
      this, QStringLiteral("Are you sure to remove property value : %1 ?").arg(m_strChosenValue), ProgramTitle(),
      platform::MB_YESNO | platform::MB_DEFBUTTON2);
  if (answer != platform::IDNO) accept();
}
