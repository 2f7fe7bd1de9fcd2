#include "admin/profiles/ArrangeColumnsDlg.h"

#include "admin/foundation/AppLog.h"
#include "admin/foundation/SqlTypes.h"
#include "admin/profiles/FilterSortText.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/ColoredListCtrl.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/HelpBalloon.h"
#include "admin/shell/TarnwickApp.h"
#include "platform/widgets/MessageBox.h"

#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>

namespace {

const QString kPrimaryKey = QStringLiteral("Primary Key");

QPushButton* AddButton(QWidget* dialog, const QString& text, int id, int left) {
  return new CBMButton(text, id, QRect(left, 372, 90, 26), dialog);
}

QLabel* AddLabel(QWidget* dialog, const QString& text, int id, int top) {
  auto* label = new QLabel(text, dialog);
  label->setObjectName(QString::number(id));
  label->setGeometry(10, top, 300, 18);
  return label;
}

void Inform(QWidget* parent, const QString& text) {
  platform::MessageBox(parent, text, ProgramTitle(), platform::MB_OK | platform::MB_ICONINFORMATION);
}

bool AsksToKeepKeyColumn(QWidget* parent, const QString& column) {
  const QString question = QStringLiteral(
      "You are trying to uncheck primary key column. A database, which has primary key, does not allow adding new "
      "record until user has data for primary key column also. So you will not able to Add new record from device, "
      "only edit and delete will be possible. Are you sure to uncheck Primary Key column : %1 ?");
  return platform::MessageBox(parent, question.arg(column), ProgramTitle(),
                              platform::MB_YESNO | platform::MB_ICONINFORMATION | platform::MB_DEFBUTTON2) !=
         platform::IDYES;
}

QStringList SortedColumnNames(const QString& sortColumnsInfo) {
  QStringList names;
  for (const StoredSort& sort : ReadSortColumnsInfo(sortColumnsInfo).sorts) names << sort.name;
  return names;
}

}  // namespace

CArrangeColumnsDlg::CArrangeColumnsDlg(ArrangeColumnsInput input, QWidget* parent)
    : QDialog(parent), m_input(std::move(input)) {
  setWindowTitle(QStringLiteral("Arrange Columns"));
  setFixedSize(520, 410);
  ApplyDialogBrush(this);
  setFont(MakeFont(QStringLiteral("Verdana"), -11, 400));
  CreateControls();
  FillColumnList();
}

void CArrangeColumnsDlg::CreateControls() {
  AddLabel(this, QStringLiteral("Select Column(s)"), 1221, 8);
  m_pList = new CColoredListCtrl(this);
  m_pList->setObjectName(QStringLiteral("1062"));
  m_pList->setGeometry(10, 28, 500, 210);
  m_pList->setShowGrid(true);
  m_pList->viewport()->installEventFilter(this);
  AddLabel(this, QStringLiteral("SQL Query"), 1220, 246);
  m_pSqlText = new QPlainTextEdit(this);
  m_pSqlText->setObjectName(QStringLiteral("1064"));
  m_pSqlText->setGeometry(10, 266, 500, 94);
  m_pSqlText->setReadOnly(true);

  QPushButton* clear = AddButton(this, QStringLiteral("Clear"), 1153, 10);
  QPushButton* undo = AddButton(this, QStringLiteral("Undo Select"), 1175, 110);
  QPushButton* ok = AddButton(this, QStringLiteral("OK"), 1, 220);
  ok->setDefault(true);
  QPushButton* cancel = AddButton(this, QStringLiteral("Cancel"), 2, 320);
  m_pHelp = AddButton(this, QStringLiteral("Help"), 1015, 420);
  connect(clear, &QPushButton::clicked, this, &CArrangeColumnsDlg::ClearColumns);
  connect(undo, &QPushButton::clicked, this, &CArrangeColumnsDlg::UndoLastColumn);
  connect(ok, &QPushButton::clicked, this, &CArrangeColumnsDlg::OnOK);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_pHelp, &QPushButton::clicked, this, &CArrangeColumnsDlg::OnHelp);
}

void CArrangeColumnsDlg::FillColumnList() {
  const int width = m_pList->width() - 2 * m_pList->frameWidth();
  m_pList->InsertColumn(0, QStringLiteral("Column Names"), width / 2);
  m_pList->InsertColumn(1, QStringLiteral("Datatypes"), width / 2);
  m_pList->InsertColumn(2, kPrimaryKey, width / 3 + 1);
  if (const CTarnwickApp* app = GetTarnwickApp()) m_pList->horizontalHeader()->setFont(app->GetBoldFont());
  for (int i = 0; i < m_input.columns.size(); ++i) {
    const int row = m_pList->InsertItem(i, m_input.columns.at(i));
    m_pList->SetItemText(row, 1, GetSqlTypeName(m_input.types.value(i).toInt()));
    m_pList->SetItemText(row, 2, m_input.primaryKeys.value(i));
    m_pList->SetCheck(row, false);
    // The dialog flips the boxes itself, so that every flip reaches the chosen columns.
    QTableWidgetItem* cell = m_pList->item(row, 0);
    cell->setFlags(cell->flags() & ~Qt::ItemIsUserCheckable);
  }
  m_arranged = {};
}

// A release ends a click; a double click brings a second one, so it flips twice.
bool CArrangeColumnsDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_pList->viewport() && event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton) {
      ToggleColumn(mouse->position().toPoint());
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

// The list leaves its check boxes to the dialog, so a click anywhere on a row, its box
// included, flips the row once here.
void CArrangeColumnsDlg::ToggleColumn(const QPoint& point) {
  const int row = m_pList->rowAt(point.y());
  if (row < 0) return;
  m_pList->clearSelection();
  const bool wasTicked = m_pList->GetCheck(row);
  m_pList->SetCheck(row, !wasTicked);
  const QString name = m_pList->GetItemText(row, 0);
  if (wasTicked) {
    RemoveArranged(m_arranged.columns.indexOf(name));
  } else {
    m_arranged.columns << name;
    m_arranged.types << m_input.types.value(row);
    m_arranged.primaryKeys << m_input.primaryKeys.value(row);
  }
  BuildSelectText();
}

void CArrangeColumnsDlg::UndoLastColumn() {
  if (m_arranged.columns.isEmpty()) return;
  const QString last = m_arranged.columns.last();
  for (int row = 0; row < m_pList->GetItemCount(); ++row) {
    if (m_pList->GetItemText(row, 0) == last) {
      FlipRow(row);
      break;
    }
  }
  RemoveArranged(m_arranged.columns.size() - 1);
  BuildSelectText();
}

void CArrangeColumnsDlg::ClearColumns() {
  for (int row = 0; row < m_pList->GetItemCount(); ++row) m_pList->SetCheck(row, false);
  m_arranged = {};
  BuildSelectText();
}

void CArrangeColumnsDlg::BuildSelectText() {
  if (m_arranged.columns.isEmpty()) {
    m_pSqlText->clear();
    return;
  }
  m_pSqlText->setPlainText(QStringLiteral("Select  ") + m_arranged.columns.join(QStringLiteral(", ")) +
                           QStringLiteral(" from ") + m_input.fromText);
}

void CArrangeColumnsDlg::FlipRow(int row) { m_pList->SetCheck(row, !m_pList->GetCheck(row)); }

void CArrangeColumnsDlg::RemoveArranged(qsizetype index) {
  if (index < 0 || index >= m_arranged.columns.size()) return;
  m_arranged.columns.removeAt(index);
  m_arranged.types.removeAt(index);
  m_arranged.primaryKeys.removeAt(index);
}

void CArrangeColumnsDlg::OnOK() {
  const QString selectAtLeastOne = QStringLiteral("Please, Select atleast one Column from available list.");
  if (m_pList->GetItemCount() == 0) {
    Inform(this, selectAtLeastOne);
    return;
  }
  const QStringList sortNames = SortedColumnNames(m_input.sortColumnsInfo);
  for (int row = 0; row < m_pList->GetItemCount(); ++row) {
    if (m_pList->GetCheck(row)) continue;
    if (m_pList->GetItemText(row, 2) == kPrimaryKey && AsksToKeepKeyColumn(this, m_pList->GetItemText(row, 0))) return;
    if (const QString refusal = RefusalForUnticked(row, sortNames); !refusal.isEmpty()) {
      Inform(this, refusal);
      return;
    }
  }
  if (!AnyTicked()) {
    Inform(this, selectAtLeastOne);
    return;
  }
  if (m_pSqlText->toPlainText().isEmpty()) {
    Inform(this, QStringLiteral("Please, Select Columns from available Columns list so that Query is generated."));
    return;
  }
  accept();
}

QString CArrangeColumnsDlg::RefusalForUnticked(int row, const QStringList& sortNames) const {
  const QString bare = BareColumnName(m_pList->GetItemText(row, 0));
  if (sortNames.contains(bare)) {
    return QStringLiteral("Does not allow to deselect Sort column, Please Select \"%1\" Column from available list.")
        .arg(bare);
  }
  if (m_input.formColumns.contains(bare)) {
    return QStringLiteral(
               "You can not remove the column: \"%1\" as it is already assigned in Form, Please remove this column from "
               "form first, if you do not want to use this.")
        .arg(bare);
  }
  if (m_input.lookupColumns.contains(bare)) {
    return QStringLiteral(
               "You can not remove the column: \"%1\" as it is already assigned in Form Control as Lookup Column, "
               "Please remove this column as Lookup Column from form First, if you do not want to use this.")
        .arg(bare);
  }
  return {};
}

bool CArrangeColumnsDlg::AnyTicked() const {
  for (int row = 0; row < m_pList->GetItemCount(); ++row) {
    if (m_pList->GetCheck(row)) return true;
  }
  return false;
}

void CArrangeColumnsDlg::OnHelp() { ShowHelpBalloon(kHelpTopic, m_pHelp, BalloonAnchor::DialogHelpButton); }
