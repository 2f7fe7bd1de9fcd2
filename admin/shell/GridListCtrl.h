#pragma once

#include "admin/foundation/FilterValueQuoting.h"
#include "admin/shell/ColoredListCtrl.h"

#include <QFont>
#include <QPointer>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>

// What an in-place editor hands its list when it ends: the cell, the text to store (none when
// the edit was cancelled) and the index chosen in a drop-down (none for a text edit).
struct LabelEditResult {
  int row = -1;
  int column = -1;
  std::optional<QString> text;
  std::optional<int> selection;
};

// What the filter-value prompt answers: accepted or cancelled, the value, and whether the value
// was typed ("Arbitrary Value") or is a chosen column ("Database Column").
struct FilterValueAnswer {
  bool accepted = false;
  QString value;
  bool arbitrary = true;
};
// Asked with the cell's text, the column names and the SQL type code of the row's column.
using FilterValuePrompt =
    std::function<FilterValueAnswer(const QString& cellText, const QStringList& columnNames, int sqlType)>;

// The filter and sort list: the arrow keys choose a column of the selected row, F2 opens an
// editor over that cell (a drop-down of the values allowed there, or the filter-value prompt in
// the value column), and the editor's result is stored in the row: its text in the cell, the
// chosen indexes packed in the row's item data (bits 0-7 column 0, 8-15 column 2, 16-31 column 1).
class CGridListCtrl : public CColoredListCtrl {
  Q_OBJECT

 public:
  static constexpr int kEditorId = 103;

  explicit CGridListCtrl(QWidget* parent = nullptr);
  ~CGridListCtrl() override;
  CGridListCtrl(const CGridListCtrl&) = delete;
  CGridListCtrl& operator=(const CGridListCtrl&) = delete;

  // The database product name of the filtered source and whether it is a real Access file.
  void SetFilterTarget(const FilterValueTarget& target) { m_filterTarget = target; }
  // Nonzero: the rows are sort rows; 0: filter rows.
  void SetSortMode(int sortMode) { m_nSortMode = sortMode; }
  // The column names offered in column 1 and their SQL type codes in decimal, in step.
  void SetColumns(const QStringList& names, const QStringList& types);
  void SetFilterValuePrompt(FilterValuePrompt prompt) { m_prompt = std::move(prompt); }

  int GetFocusedColumn() const { return m_nFocusedColumn; }
  QWidget* GetOpenEditor() const { return m_editor; }
  const QFont& EditorFont() const { return m_editorFont; }

  // Opens the editor of a cell (F2 on the focused cell does it).
  void BeginLabelEdit(int row, int column);
  // Stores what the open editor delivers; the editor goes.
  void EndLabelEdit(const LabelEditResult& result);

  void PaintCell(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void MoveFocusedColumn(int step);
  void ScrollColumnIntoView(int column);
  void OpenCombo(int row, int column, uint32_t packed);
  void OpenValueEditor(int row, int column);
  int ValueColumnType(int row) const;
  // The editor over the cell, as wide as the cell up to the viewport's right edge; the empty
  // rectangle for a missing or hidden column.
  QRect EditorRect(int row, int column);
  void PaintRaisedCell(QPainter* painter, const QStyleOptionViewItem& option, const QString& text) const;

  FilterValueTarget m_filterTarget;
  int m_nFocusedColumn = -1;
  QPointer<QWidget> m_editor;
  uint32_t m_nPackedChoices = 0;
  int m_nSortMode = 0;
  QStringList m_columnNames;
  QStringList m_columnTypes;
  int m_nValueType = 0;
  QFont m_editorFont;
  FilterValuePrompt m_prompt;
};
