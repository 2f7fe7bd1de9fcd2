#include "admin/forms/FormulaDesignDlg.h"

#include "admin/forms/FormulaValidator.h"
#include "admin/forms/StorableText.h"
#include "admin/foundation/AppLog.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/BMSmallButton.h"
#include "admin/shell/Bitmaps.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/HelpBalloon.h"
#include "platform/widgets/MessageBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QTreeWidget>

namespace {

constexpr int kFormulaHelpTopic = 33;

const QString kFieldList = QStringLiteral("Field List");
const QString kAllFunctions = QStringLiteral("<All>");
const QString kMath = QStringLiteral("Math");
const QString kConversion = QStringLiteral("Conversion");
const QString kArithmetic = QStringLiteral("Arithmetic");

QStringList FunctionNames(bool math, bool conversion) {
  QStringList names;
  for (const FormulaFunction& function : FormulaFunctions()) {
    if (function.conversion ? conversion : math) names.append(function.name.toString());
  }
  return names;
}

QIcon TreeIcon(int index) {
  return QIcon(QPixmap::fromImage(LoadMaskedBitmap(252).copy(16 * index, 0, 16, 16)));
}

}  // namespace

CFormulaDesignDlg::CFormulaDesignDlg(const FormulaColumns& columns, const QString& formula, QWidget* parent)
    : QDialog(parent),
      m_columns(columns),
      m_strFormula(formula),
      m_pFormula(new QLineEdit(this)),
      m_pTree(new QTreeWidget(this)),
      m_pCategories(new QListWidget(this)),
      m_pItems(new QListWidget(this)),
      m_pSyntax(new QLabel(this)),
      m_pHelp(new CBMButton(QStringLiteral("Help"), this)) {
  setWindowTitle(QStringLiteral("Formula"));
  setFixedSize(560, 336);
  ApplyDialogBrush(this);
  setFont(MakeFont(QStringLiteral("Verdana"), -11, 400));
  BuildControls();
  OnInitDialog();
}

void CFormulaDesignDlg::BuildControls() {
  (new QLabel(QStringLiteral("Enter Formula :"), this))->setGeometry(10, 10, 200, 20);
  m_pFormula->setObjectName(QStringLiteral("1055"));
  m_pFormula->setGeometry(10, 32, 540, 24);
  const struct {
    const char* id;
    QString text;
  } symbols[] = {{"1279", QStringLiteral("(")}, {"1222", QStringLiteral(")")}, {"1067", QStringLiteral("+")},
                 {"1068", QStringLiteral("-")}, {"1069", QStringLiteral("/")}, {"1070", QStringLiteral("*")}};
  int left = 10;
  for (const auto& symbol : symbols) {
    auto* button = new CBMSmallButton(symbol.text, this);
    button->setObjectName(QString::fromLatin1(symbol.id));
    button->setGeometry(left, 62, 26, 22);
    connect(button, &QPushButton::clicked, this, [this, text = symbol.text] { InsertText(text); });
    left += 32;
  }
  m_pTree->setObjectName(QStringLiteral("1295"));
  m_pTree->setGeometry(10, 92, 150, 170);
  m_pTree->setHeaderHidden(true);
  m_pTree->setIconSize(QSize(16, 16));
  m_pCategories->setObjectName(QStringLiteral("1296"));
  m_pCategories->setGeometry(170, 92, 150, 170);
  m_pItems->setObjectName(QStringLiteral("1297"));
  m_pItems->setGeometry(330, 92, 220, 170);
  m_pSyntax->setObjectName(QStringLiteral("1298"));
  m_pSyntax->setGeometry(10, 268, 360, 22);
  auto* paste = new CBMButton(QStringLiteral("Paste"), this);
  paste->setObjectName(QStringLiteral("1153"));
  paste->setGeometry(470, 266, 80, 26);
  m_pHelp->setObjectName(QStringLiteral("1175"));
  m_pHelp->setGeometry(10, 300, 80, 26);
  auto* ok = new CBMButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("1"));
  ok->setGeometry(380, 300, 80, 26);
  ok->setDefault(true);
  auto* cancel = new CBMButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("2"));
  cancel->setGeometry(470, 300, 80, 26);
  connect(m_pTree, &QTreeWidget::currentItemChanged, this, &CFormulaDesignDlg::OnTreeSelection);
  connect(m_pCategories, &QListWidget::currentRowChanged, this, &CFormulaDesignDlg::OnCategorySelection);
  connect(m_pItems, &QListWidget::currentRowChanged, this, &CFormulaDesignDlg::OnItemSelection);
  connect(m_pItems, &QListWidget::itemDoubleClicked, this, &CFormulaDesignDlg::OnPaste);
  connect(paste, &QPushButton::clicked, this, &CFormulaDesignDlg::OnPaste);
  connect(m_pHelp, &QPushButton::clicked, this, &CFormulaDesignDlg::OnHelp);
  connect(ok, &QPushButton::clicked, this, &CFormulaDesignDlg::OnOK);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CFormulaDesignDlg::OnInitDialog() {
  const QString roots[] = {QStringLiteral("Form"), QStringLiteral("Functions"), QStringLiteral("Operators")};
  for (int index = 0; index < 3; ++index) {
    auto* item = new QTreeWidgetItem(m_pTree, QStringList(roots[index]));
    item->setIcon(0, TreeIcon(index));
  }
  m_pTree->setCurrentItem(m_pTree->topLevelItem(0));
  m_pFormula->setText(m_strFormula);
}

void CFormulaDesignDlg::OnTreeSelection() {
  const QTreeWidgetItem* item = m_pTree->currentItem();
  if (item == nullptr) return;
  const QString root = item->text(0);
  QStringList categories;
  if (root == QStringLiteral("Form")) categories = {kFieldList};
  if (root == QStringLiteral("Functions")) categories = {kAllFunctions, kMath, kConversion};
  if (root == QStringLiteral("Operators")) categories = {kArithmetic};
  m_pCategories->clear();
  m_pCategories->addItems(categories);
  m_pCategories->setCurrentRow(0);
}

void CFormulaDesignDlg::OnCategorySelection() {
  m_pSyntax->clear();
  const QListWidgetItem* category = m_pCategories->currentItem();
  const QString name = category != nullptr ? category->text() : QString();
  QStringList items;
  if (name == kFieldList) items = m_columns.names;
  if (name == kAllFunctions) items = FunctionNames(true, true);
  if (name == kMath) items = FunctionNames(true, false);
  if (name == kConversion) items = FunctionNames(false, true);
  if (name == kArithmetic) items = {QStringLiteral("+"), QStringLiteral("-"), QStringLiteral("*"), QStringLiteral("/")};
  m_pItems->clear();
  m_pItems->addItems(items);
  m_pItems->setCurrentRow(0);
}

// A function shows its syntax; a column or an operator has none.
void CFormulaDesignDlg::OnItemSelection() {
  const QListWidgetItem* item = m_pItems->currentItem();
  const FormulaFunction* function =
      item != nullptr && m_pCategories->currentItem()->text() != kFieldList ? FindFormulaFunction(item->text()) : nullptr;
  m_pSyntax->setText(function != nullptr ? function->syntax.toString() : QString());
}

void CFormulaDesignDlg::OnPaste() {
  const QListWidgetItem* item = m_pItems->currentItem();
  if (item == nullptr) return;
  const QString text = item->text();
  if (m_pCategories->currentItem()->text() == kFieldList) {
    InsertText(u'$' + text);
    return;
  }
  const FormulaFunction* function = FindFormulaFunction(text);
  if (function == nullptr) {
    InsertText(text);
    return;
  }
  InsertText(text + (function->argumentCount == 2 ? QStringLiteral("(,)") : QStringLiteral("()")));
}

void CFormulaDesignDlg::InsertText(const QString& text) {
  m_pFormula->insert(text);
  m_pFormula->setFocus();
}

void CFormulaDesignDlg::OnHelp() { ShowHelpBalloon(kFormulaHelpTopic, m_pHelp, BalloonAnchor::DialogHelpButton); }

void CFormulaDesignDlg::OnOK() {
  QString withoutBlanks = m_pFormula->text();
  withoutBlanks.remove(u' ');
  const QString refusal = Refusal(withoutBlanks);
  if (!refusal.isEmpty()) {
    platform::MessageBox(this, refusal, ProgramTitle(), platform::MB_OK | platform::MB_ICONERROR);
    return;
  }
  if (RefuseUnstorableText(this, m_pFormula->text())) return;
  m_strFormula = m_pFormula->text();
  accept();
}

QString CFormulaDesignDlg::Refusal(const QString& withoutBlanks) const {
  if (withoutBlanks.isEmpty()) return QStringLiteral("Formula should not be empty. Please enter formula.");
  bool textColumn = false;
  QString error;
  const int valid = ValidateFormulaExpression(m_columns, PrepareFormulaText(withoutBlanks), &textColumn, &error);
  if (valid == 1 && !textColumn) return {};
  if (!error.isEmpty()) return error;
  if (textColumn)
    return QStringLiteral("Column used in expression %1 is text type column, use NUM() function to convert it to number.")
        .arg(withoutBlanks);
  return QString::fromUtf16(kInvalidFormulaMessage);
}
