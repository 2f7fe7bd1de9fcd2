#include "admin/forms/FormFieldsDefaultValuesDlg.h"

#include "admin/forms/FieldValueChecks.h"
#include "admin/forms/StorableText.h"
#include "admin/foundation/AppLog.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/HelpBalloon.h"
#include "admin/shell/ParameterListCtrl.h"
#include "platform/widgets/MessageBox.h"

#include <QLabel>

namespace {

constexpr int kDefaultValuesHelpTopic = 36;
constexpr int kValueColumn = 2;

}  // namespace

CFormFieldsDefaultValuesDlg::CFormFieldsDefaultValuesDlg(const std::vector<FieldDefaultRow>& rows, QWidget* parent)
    : QDialog(parent),
      m_rows(rows),
      m_pList(new CParameterListCtrl(this)),
      m_pHelp(new CBMButton(QStringLiteral("Help"), this)) {
  setWindowTitle(QStringLiteral("Field Default Values"));
  setFixedSize(480, 320);
  ApplyDialogBrush(this);
  setFont(MakeFont(QStringLiteral("Verdana"), -11, 400));
  auto* text = new QLabel(QStringLiteral("Double click in the \"Default Value\" column to enter default values for your "
                                         "fields which are not  mapped on the form."),
                          this);
  text->setWordWrap(true);
  text->setGeometry(10, 8, 460, 36);
  m_pList->setObjectName(QStringLiteral("1052"));
  m_pList->setGeometry(10, 50, 460, 220);
  m_pHelp->setObjectName(QStringLiteral("1175"));
  m_pHelp->setGeometry(10, 282, 80, 26);
  auto* ok = new CBMButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("1"));
  ok->setGeometry(300, 282, 80, 26);
  ok->setDefault(true);
  auto* cancel = new CBMButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("2"));
  cancel->setGeometry(390, 282, 80, 26);
  connect(ok, &QPushButton::clicked, this, &CFormFieldsDefaultValuesDlg::OnOK);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_pHelp, &QPushButton::clicked, this,
          [this] { ShowHelpBalloon(kDefaultValuesHelpTopic, m_pHelp, BalloonAnchor::DialogHelpButton); });
  OnInitDialog();
}

void CFormFieldsDefaultValuesDlg::OnInitDialog() {
  const int third = m_pList->contentsRect().width() / 3;
  m_pList->InsertColumn(0, QStringLiteral("Name"), third);
  m_pList->InsertColumn(1, QStringLiteral("Datatype"), third);
  m_pList->InsertColumn(2, QStringLiteral("Default Value"), third);
  m_pList->SetEditableColumn(kValueColumn);
  for (const FieldDefaultRow& row : m_rows) {
    const int item = m_pList->InsertItem(m_pList->GetItemCount(), row.ColumnName);
    m_pList->SetItemText(item, 1, row.SqlTypeName);
    m_pList->SetItemText(item, kValueColumn, row.DefaultValue);
  }
}

// A value still in the in-place editor counts: the edit is ended first.
void CFormFieldsDefaultValuesDlg::OnOK() {
  m_pList->EndEdit();
  std::vector<FieldDefaultRow> entered = m_rows;
  for (size_t index = 0; index < entered.size(); ++index) {
    const QString value = m_pList->GetItemText(static_cast<int>(index), kValueColumn);
    const QString refusal = Refusal(entered[index], value);
    if (!refusal.isEmpty()) {
      platform::MessageBox(this, refusal, ProgramTitle(), platform::MB_OK | platform::MB_ICONINFORMATION);
      return;
    }
    if (RefuseUnstorableText(this, value)) return;
    entered[index].DefaultValue = value;
  }
  m_rows = entered;
  accept();
}

QString CFormFieldsDefaultValuesDlg::Refusal(const FieldDefaultRow& row, const QString& value) const {
  if (value.isEmpty()) {
    if (GetSqlTypeCategory(row.SqlTypeName) != 0) return {};
    return QStringLiteral("Please enter default value for \"%1\" Field.").arg(row.ColumnName);
  }
  return DefaultValueMessage(ValidateDefaultValue(row.SqlTypeName, value), row.ColumnName);
}
