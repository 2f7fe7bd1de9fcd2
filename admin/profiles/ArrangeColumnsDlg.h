#pragma once

#include <QDialog>
#include <QStringList>

class CColoredListCtrl;
class QPlainTextEdit;
class QPushButton;

// What the table and view page hands the column arrangement.
struct ArrangeColumnsInput {
  QStringList columns;      // as listed, one quote character at each end
  QStringList types;        // SQL type codes in decimal, in step with `columns`
  QStringList primaryKeys;  // "Primary Key" for a key column, in step with `columns`
  QString sortColumnsInfo;  // the profile's stored sorts
  QStringList formColumns;  // bare names of the columns the profile's forms map
  QStringList lookupColumns;  // bare names of the columns forms use as lookup columns
  QString fromText;         // what follows " from " in the SELECT
};

// The chosen columns in the order they were ticked, with their type codes and key texts.
struct ArrangedColumns {
  QStringList columns;
  QStringList types;
  QStringList primaryKeys;
};

// The user ticks columns one after another; the order of ticking is the order of the SELECT,
// shown as it grows. OK refuses to leave out a column that a sort, a form or a lookup needs, and
// asks before leaving out a key column.
class CArrangeColumnsDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kHelpTopic = 23;

  explicit CArrangeColumnsDlg(ArrangeColumnsInput input, QWidget* parent = nullptr);

  // Valid after OK.
  const ArrangedColumns& GetArrangedColumns() const { return m_arranged; }
  CColoredListCtrl* GetList() const { return m_pList; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  void FillColumnList();
  void ToggleColumn(const QPoint& point);
  void UndoLastColumn();
  void ClearColumns();
  void BuildSelectText();
  void OnOK();
  void OnHelp();

  void FlipRow(int row);
  void RemoveArranged(qsizetype index);
  // The reason `row`, left unticked, may not be left out; empty when it may.
  QString RefusalForUnticked(int row, const QStringList& sortNames) const;
  bool AnyTicked() const;

  ArrangeColumnsInput m_input;
  ArrangedColumns m_arranged;
  CColoredListCtrl* m_pList = nullptr;
  QPlainTextEdit* m_pSqlText = nullptr;
  QPushButton* m_pHelp = nullptr;
};
