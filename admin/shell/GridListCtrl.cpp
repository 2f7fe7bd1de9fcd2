#include "admin/shell/GridListCtrl.h"

#include "admin/shell/DialogLook.h"
#include "admin/shell/Frame3D.h"
#include "admin/shell/InPlaceCombo.h"
#include "admin/shell/InPlaceEdit.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionViewItem>

#include <algorithm>

namespace {

const QStringList kOperators{QStringLiteral("="),  QStringLiteral("<>"), QStringLiteral("<"),  QStringLiteral(">"),
                             QStringLiteral("<="), QStringLiteral(">="), QStringLiteral("IS"), QStringLiteral("LIKE")};

constexpr int kNarrowestEditableColumn = 4;
constexpr int kFirstColumnComboShift = 20;

// Where each combo column keeps its index in the packed choices.
int ShiftOfColumn(int column) { return column == 0 ? 0 : column == 1 ? 16 : 8; }
uint32_t MaskOfColumn(int column) { return column == 1 ? 0xFFFFu : 0xFFu; }

}  // namespace

CGridListCtrl::CGridListCtrl(QWidget* parent)
    : CColoredListCtrl(parent), m_editorFont(MakeFont(QStringLiteral("Verdana"), 13, 500)) {}

// An open editor goes first, so it cannot deliver into a list being destroyed.
CGridListCtrl::~CGridListCtrl() { delete m_editor.data(); }

void CGridListCtrl::SetColumns(const QStringList& names, const QStringList& types) {
  m_columnNames = names;
  m_columnTypes = types;
}

void CGridListCtrl::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Left:
      MoveFocusedColumn(-1);
      return;
    case Qt::Key_Right:
      MoveFocusedColumn(1);
      return;
    case Qt::Key_F2:
      if (GetSelectionMark() >= 0 && m_nFocusedColumn >= 0) BeginLabelEdit(GetSelectionMark(), m_nFocusedColumn);
      return;
    default:
      CColoredListCtrl::keyPressEvent(event);
  }
}

// Left from the first column leaves none; Right stops at the last column.
void CGridListCtrl::MoveFocusedColumn(int step) {
  if (step < 0 && m_nFocusedColumn < 0) return;
  m_nFocusedColumn = std::min(m_nFocusedColumn + step, columnCount() - 1);
  if (m_nFocusedColumn >= 0) ScrollColumnIntoView(m_nFocusedColumn);
  viewport()->update();
}

void CGridListCtrl::ScrollColumnIntoView(int column) {
  const int left = columnViewportPosition(column);
  const int right = left + columnWidth(column);
  QScrollBar* bar = horizontalScrollBar();
  if (left < 0) {
    bar->setValue(bar->value() + left);
  } else if (right > viewport()->width()) {
    bar->setValue(bar->value() + right - viewport()->width());
  }
}

// A scroll takes the focus first, which ends an open editor.
void CGridListCtrl::scrollContentsBy(int dx, int dy) {
  if (!hasFocus()) setFocus(Qt::OtherFocusReason);
  CColoredListCtrl::scrollContentsBy(dx, dy);
}

void CGridListCtrl::BeginLabelEdit(int row, int column) {
  if (row < 0 || row >= rowCount() || column < 0 || m_editor != nullptr) return;
  if (m_nSortMode == 0 && row == 0 && column == 0) return;
  m_nPackedChoices = GetItemData(row);
  if (column <= 2) {
    OpenCombo(row, column, m_nPackedChoices);
  } else {
    OpenValueEditor(row, column);
  }
}

void CGridListCtrl::OpenCombo(int row, int column, uint32_t packed) {
  QStringList entries;
  if (column == 0) {
    entries = m_nSortMode != 0 ? QStringList{QStringLiteral("Ascending"), QStringLiteral("Descending")}
                               : QStringList{QStringLiteral("AND"), QStringLiteral("OR")};
  } else {
    entries = column == 1 ? m_columnNames : kOperators;
  }
  const int selection = static_cast<int>((packed >> ShiftOfColumn(column)) & MaskOfColumn(column));
  QRect place = EditorRect(row, column);
  if (!place.isEmpty() && column == 0) place.setLeft(place.left() + kFirstColumnComboShift);
  auto* combo = new CInPlaceCombo(this, row, column, entries, selection);
  combo->setGeometry(place);
  combo->show();
  m_editor = combo;
  combo->setFocus(Qt::OtherFocusReason);
}

// The prompt's answer reaches the cell through an edit that delivers as soon as it is made.
void CGridListCtrl::OpenValueEditor(int row, int column) {
  if (!m_prompt) return;
  m_nValueType = ValueColumnType(row);
  const QString cellText = GetItemText(row, column);
  const FilterValueAnswer answer = m_prompt(cellText, m_columnNames, m_nValueType);
  QString value;
  if (answer.accepted) {
    value = answer.arbitrary ? QuoteFilterValue(answer.value, m_nValueType, m_filterTarget) : answer.value;
  }
  const QRect place = EditorRect(row, column);
  auto* edit = new CInPlaceEdit(this, row, column, cellText, value);
  edit->setGeometry(place);
  edit->show();
  edit->GrowToText();
  m_editor = edit;
  edit->setFocus(Qt::OtherFocusReason);
  setFocus(Qt::OtherFocusReason);
  // Without an active window no focus moves; the edit still ends here.
  if (m_editor == edit) edit->Deliver();
}

int CGridListCtrl::ValueColumnType(int row) const {
  const qsizetype index = m_columnNames.indexOf(GetItemText(row, 1));
  if (index < 0 || index >= m_columnTypes.size()) return 0;
  return m_columnTypes[index].toInt();
}

QRect CGridListCtrl::EditorRect(int row, int column) {
  if (column >= columnCount() || columnWidth(column) <= kNarrowestEditableColumn) {
    scrollTo(model()->index(row, 0));
    return {};
  }
  const QModelIndex cell = model()->index(row, column);
  scrollTo(cell);
  QRect place = visualRect(cell);
  place.setRight(std::min(place.right(), viewport()->rect().right()));
  return place;
}

void CGridListCtrl::EndLabelEdit(const LabelEditResult& result) {
  if (m_editor != nullptr) {
    if (result.selection.has_value() && result.column >= 0 && result.column <= 2) {
      const int shift = ShiftOfColumn(result.column);
      const uint32_t mask = MaskOfColumn(result.column);
      m_nPackedChoices = (m_nPackedChoices & ~(mask << shift)) |
                         ((static_cast<uint32_t>(*result.selection) & mask) << shift);
    }
    if (result.text.has_value()) SetItemText(result.row, result.column, *result.text);
    SetItemData(result.row, m_nPackedChoices);
    QWidget* editor = m_editor;
    m_editor = nullptr;
    editor->hide();
    editor->deleteLater();
  }
  viewport()->update();
}

void CGridListCtrl::PaintCell(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  if (index.row() == currentRow() && index.column() == m_nFocusedColumn) {
    PaintRaisedCell(painter, option, index.data().toString());
  } else {
    CColoredListCtrl::PaintCell(painter, option, index);
  }
}

void CGridListCtrl::PaintRaisedCell(QPainter* painter, const QStyleOptionViewItem& option, const QString& text) const {
  const QRect cell = option.rect;
  const QPalette& colours = palette();
  painter->save();
  painter->fillRect(cell, colours.color(QPalette::Button));
  const int inset = 2 * option.fontMetrics.averageCharWidth();
  const QRect textArea = cell.adjusted(inset, 0, -inset, 0);
  painter->setPen(Qt::black);
  painter->setFont(option.font);
  painter->drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                    option.fontMetrics.elidedText(text, Qt::ElideRight, textArea.width()));
  Draw3dRect(*painter, cell, colours.color(QPalette::Dark), colours.color(QPalette::Button));
  Draw3dRect(*painter, cell.adjusted(1, 1, -1, -1), colours.color(QPalette::Shadow), colours.color(QPalette::Light));
  painter->restore();
}
