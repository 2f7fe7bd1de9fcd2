#include "admin/profiles/FilterValue.h"

#include "admin/foundation/AppLog.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/HelpBalloon.h"
#include "platform/widgets/MessageBox.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <algorithm>
#include <array>

namespace {

// NUMERIC (2), DECIMAL (3) and BIGINT (-5) hold numbers too, so they map onto the other numbers.
constexpr std::array kNumericTypes{2, 3, 4, 5, 6, 7, 8, -5, -6, -15, -16, -17, -18, -26, -28};
constexpr std::array kCharacterTypes{1, 12, -1, -8, -9, -10, -11};

template <std::size_t N>
bool IsOneOf(int type, const std::array<int, N>& types) {
  return std::find(types.begin(), types.end(), type) != types.end();
}

}  // namespace

CFilterValue::CFilterValue(const QString& value, const QStringList& columnNames, const QStringList& columnTypes,
                           int sqlType, QWidget* parent)
    : QDialog(parent),
      m_pArbitrary(new QRadioButton(QStringLiteral("Arbitrary Value"), this)),
      m_pDatabaseColumn(new QRadioButton(QStringLiteral("Database Column"), this)),
      m_pColumns(new QComboBox(this)),
      m_pValueEdit(new QLineEdit(this)),
      m_columnTypes(columnTypes),
      m_nSqlType(sqlType) {
  setWindowTitle(QStringLiteral("Set Filter Value As"));
  setFixedSize(330, 140);
  ApplyDialogBrush(this);
  setFont(MakeFont(QStringLiteral("Verdana"), -11, 400));
  m_pArbitrary->setObjectName(QStringLiteral("1076"));
  m_pArbitrary->setGeometry(20, 14, 140, 22);
  m_pDatabaseColumn->setObjectName(QStringLiteral("1077"));
  m_pDatabaseColumn->setGeometry(170, 14, 140, 22);
  auto* choice = new QButtonGroup(this);
  choice->addButton(m_pArbitrary);
  choice->addButton(m_pDatabaseColumn);
  m_pColumns->setObjectName(QStringLiteral("1078"));
  m_pColumns->setGeometry(20, 50, 290, 24);
  m_pValueEdit->setObjectName(QStringLiteral("1055"));
  m_pValueEdit->setGeometry(20, 50, 290, 24);

  auto* ok = new CBMButton(QStringLiteral("OK"), 1, QRect(50, 98, 80, 26), this);
  ok->setDefault(true);
  auto* cancel = new CBMButton(QStringLiteral("Cancel"), 2, QRect(140, 98, 80, 26), this);
  auto* help = new CBMButton(QStringLiteral("Help"), 1015, QRect(230, 98, 80, 26), this);
  m_pHelp = help;

  m_pArbitrary->setChecked(true);
  m_pColumns->hide();
  m_pColumns->addItems(columnNames);
  m_pColumns->setCurrentIndex(m_pColumns->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive));
  m_pValueEdit->setText(value);
  m_strValue = value;

  connect(m_pValueEdit, &QLineEdit::textChanged, this, [this](const QString& text) { m_strValue = text; });
  connect(m_pArbitrary, &QRadioButton::toggled, this, &CFilterValue::OnChoiceChanged);
  connect(m_pColumns, &QComboBox::activated, this, &CFilterValue::OnColumnChosen);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, &CFilterValue::OnHelp);
}

bool CFilterValue::IsArbitraryValue() const { return !m_pDatabaseColumn->isChecked(); }

bool CFilterValue::IsValidFieldMapping(int filteredType, int chosenType) {
  if (IsOneOf(filteredType, kNumericTypes) && IsOneOf(chosenType, kNumericTypes)) return true;
  if (IsOneOf(filteredType, kCharacterTypes) && IsOneOf(chosenType, kCharacterTypes)) return true;
  return filteredType == chosenType;
}

void CFilterValue::OnChoiceChanged() {
  const bool arbitrary = m_pArbitrary->isChecked();
  m_pValueEdit->setVisible(arbitrary);
  m_pColumns->setVisible(!arbitrary);
}

void CFilterValue::OnColumnChosen(int index) {
  const int chosenType = m_columnTypes.value(index).toInt();
  if (IsValidFieldMapping(m_nSqlType, chosenType)) {
    m_strValue = m_pColumns->itemText(index);
    return;
  }
  platform::MessageBox(this, QStringLiteral("Not a Valid Field Mapping"), ProgramTitle(),
                       platform::MB_OK | platform::MB_ICONWARNING);
  m_strValue.clear();
}

void CFilterValue::OnHelp() { ShowHelpBalloon(kHelpTopic, m_pHelp, BalloonAnchor::DialogHelpButton); }

FilterValuePrompt CFilterValue::MakePrompt(QWidget* parent, const QStringList& columnTypes) {
  return [parent, columnTypes](const QString& cellText, const QStringList& columnNames, int sqlType) {
    CFilterValue dialog(cellText, columnNames, columnTypes, sqlType, parent);
    FilterValueAnswer answer;
    answer.accepted = dialog.exec() == QDialog::Accepted;
    answer.value = dialog.GetValue();
    answer.arbitrary = dialog.IsArbitraryValue();
    return answer;
  };
}
