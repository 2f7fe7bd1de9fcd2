#pragma once

#include "admin/foundation/FilterValueQuoting.h"
#include "admin/profiles/FilterSortLists.h"

#include <QDialog>
#include <QStringList>

class CGridListCtrl;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// What the table and view page hands the filter and sort dialog besides its lists.
struct FilterSortSource {
  QStringList columnTypes;      // per listed column, its SQL type code in decimal
  QStringList selectedColumns;  // the ticked columns, the only ones a sort may name
  FilterValueTarget target;     // where typed filter values go, for their quoting
};

// Edits the page's filters (mode 0) or sorts (mode 1) as rows of a list; a row is added or
// changed in an editor that takes the list's place. OK in the list state writes the rows back
// into the page's lists, and only when every row is valid.
class CFilterSortDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kFilterMode = 0;
  static constexpr int kSortMode = 1;
  // Editor states.
  static constexpr int kListState = 11;
  static constexpr int kFilterEditing = 22;
  static constexpr int kSortEditing = 33;
  // Pending actions.
  static constexpr int kAddAction = 551;
  static constexpr int kModifyAction = 552;
  static constexpr int kNoAction = 555;

  CFilterSortDlg(int mode, FilterSortLists* lists, FilterSortSource source, QWidget* parent = nullptr);

  int GetEditorState() const { return m_nEditorState; }
  int GetPendingAction() const { return m_nPendingAction; }
  CGridListCtrl* GetList() const { return m_pList; }

 public Q_SLOTS:
  // Esc and the close box act as Cancel: out of an edit first, then out of the dialog.
  void reject() override;

 private:
  void CreateControls();
  QLabel* AddLabel(const QString& text, const QRect& place);
  void SetUpList();
  void AddFilterRow(int index);
  void AddSortRow(int index);

  void EnterListState();
  void EnterFilterEditing();
  void EnterSortEditing();
  void ShowEditor(bool filterEditor);
  void SetJoiningChoice(int joining);

  void OnAdd();
  void OnModify();
  void OnRemove();
  void OnOK();
  void OnCancel();
  void OnHelp();

  void CommitSortRow();
  void CommitFilterRow();
  // The row the pending action writes: a new last row for add, the edited row for modify.
  int TargetRow();
  // The first row whose value text is empty, as a row number from 1; 0 when every row is valid.
  int FirstInvalidFilterRow() const;
  void RebuildPageLists();

  int m_nMode;
  FilterSortLists* m_pLists;
  FilterSortSource m_source;
  int m_nEditorState = kListState;
  int m_nPendingAction = kNoAction;
  int m_nEditRow = -1;

  CGridListCtrl* m_pList = nullptr;
  QLabel* m_pHint = nullptr;
  QLabel* m_pFieldLabel = nullptr;
  QLabel* m_pOperatorLabel = nullptr;
  QLabel* m_pValueLabel = nullptr;
  QComboBox* m_pFieldCombo = nullptr;
  QComboBox* m_pOperatorCombo = nullptr;
  QRadioButton* m_pOr = nullptr;
  QRadioButton* m_pAnd = nullptr;
  QButtonGroup* m_pJoining = nullptr;
  QLineEdit* m_pValueEdit = nullptr;
  QPushButton* m_pAdd = nullptr;
  QPushButton* m_pModify = nullptr;
  QPushButton* m_pRemove = nullptr;
  QPushButton* m_pHelp = nullptr;
};
