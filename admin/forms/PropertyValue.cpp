#include "admin/forms/PropertyValue.h"

#include "admin/forms/FieldValueChecks.h"
#include "admin/forms/StorableText.h"
#include "admin/foundation/AppLog.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/DialogLook.h"
#include "platform/widgets/MessageBox.h"

#include <QLabel>
#include <QLineEdit>

CPropertyValue::CPropertyValue(QWidget* parent) : QDialog(parent), m_pValue(new QLineEdit(this)) {
  setWindowTitle(QStringLiteral("Property Value"));
  setFixedSize(300, 120);
  ApplyDialogBrush(this);
  setFont(MakeFont(QStringLiteral("Verdana"), -11, 400));
  (new QLabel(QStringLiteral("Enter Property Value"), this))->setGeometry(12, 10, 276, 20);
  m_pValue->setObjectName(QStringLiteral("1055"));
  m_pValue->setGeometry(12, 34, 276, 24);
  auto* ok = new CBMButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("1"));
  ok->setGeometry(118, 80, 80, 26);
  ok->setDefault(true);
  auto* cancel = new CBMButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("2"));
  cancel->setGeometry(208, 80, 80, 26);
  connect(ok, &QPushButton::clicked, this, &CPropertyValue::OnOK);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CPropertyValue::SetDataColumn(const QString& columnName, const QString& sqlTypeName) {
  m_strColumnName = columnName;
  m_strSqlTypeName = sqlTypeName;
}

void CPropertyValue::OnOK() {
  const QString value = m_pValue->text();
  const QString refusal = Refusal(value);
  if (!refusal.isEmpty()) {
    platform::MessageBox(this, refusal, ProgramTitle(), platform::MB_OK | platform::MB_ICONINFORMATION);
    return;
  }
  if (RefuseUnstorableText(this, value)) return;
  m_strValue = value;
  accept();
}

QString CPropertyValue::Refusal(const QString& value) const {
  if (value.isEmpty()) return QStringLiteral("Property Value should not be empty, Please Enter Property Value.");
  const int check = ValidateDefaultValue(m_strSqlTypeName, value);
  if (check == kValueNotNumeric || check == kValueNotBit)
    return QStringLiteral("Property Value should be numeric, Please Enter Proper Property Value.");
  return DefaultValueMessage(check, m_strColumnName);
}
