#pragma once

#include "admin/profiles/ColumnChoiceChecks.h"
#include "admin/profiles/FilterSortLists.h"
#include "admin/profiles/SelectQueryBuilder.h"
#include "admin/profiles/TableColumns.h"
#include "admin/shell/WizardSheetPage.h"

#include <QMap>
#include <QStringList>
#include <QTimer>

class CBMButton;
class CColoredListCtrl;
class CDBConnManager;
namespace admin { class CDatabseConnection; }
class CWizardSheet;
class CPopupDlg;
class ProfileDraft;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QRadioButton;
class QTableWidgetItem;
struct FilterSortSource;

// The profile wizard's page for table and view profiles: the administrator picks a table or
// view of the connected source, ticks and arranges its columns, adds filters and sorts, previews
// the rows and, on Finish, stores the profile. In edit mode the stored profile's table, ticks,
// order, filters and sorts come back first.
class CProfileBuildQueryPage : public CWizardSheetPage {
  Q_OBJECT

 public:
  static constexpr int kHelpTopic = 26;
  static constexpr int kRebuildTimerId = 5002;
  static constexpr int kRebuildDelayMs = 300;
  // The left part of a column row whose click toggles its tick.
  static constexpr int kCheckAreaWidth = 12;
  static constexpr int kTablesListType = 0;
  static constexpr int kViewsListType = 1;

  CProfileBuildQueryPage(CWizardSheet* wizard, ProfileDraft& draft);
  ~CProfileBuildQueryPage() override;

  bool OnSetActive() override;
  int OnWizardBack() override;
  bool OnWizardFinish() override;
  void OnHelp() override;

  // The handlers of the page's controls; tests press them too.
  void OnTableSelected();
  void OnSelectAll();
  void OnFilter();
  void OnSort();
  void OnArrangeColumns();
  void OnPreview();
  void OnTablesListType();
  void OnViewsListType();
  // A tick toggled in the column list, by a click in its check area or the keyboard: kept only
  // when no refusal holds.
  void OnColumnTickChanged(QTableWidgetItem* item);
  // The SELECT text over the chosen table, its WHERE and ORDER BY appended.
  void BuildSelectQuery();

  CColoredListCtrl* GetColumnList() const { return m_pColumnList; }
  QListWidget* GetTableList() const { return m_pTableList; }
  CPopupDlg* GetPreview() const { return m_pPopup; }
  QTimer& GetRebuildTimer() { return m_rebuildTimer; }
  const FilterSortLists& GetFilterSortLists() const { return m_lists; }
  FilterSortLists& GetFilterSortLists() { return m_lists; }
  // The query edit's text.
  QString GetQueryText() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  void CreateLocationGroup();

  CDBConnManager& ConnManager() const;
  admin::CDatabseConnection& Source() const;
  SelectSource SourceFacts() const;
  bool IsWorkbookExport() const;
  bool IsExcelAutomation() const;

  void ResetLists();
  void EnableQueryButtons(bool enabled);
  void SetListType(int listType);
  bool ChangeListType(int listType);
  void FillTableList();
  int StoredTableRow() const;
  void SelectTableRow(int row);
  QString ChosenTable() const;
  QString ChosenSchema() const;
  QString ChosenTableType() const;

  // Refusals and the question before another table replaces the chosen one.
  bool MayLeaveChosenTable(int newRow);
  void ListColumns();
  QList<ListedColumn> ListWorksheetColumns(const SelectSource& source, const QString& sheet);
  void FillColumnRows();
  QStringList ListedNames() const;
  QList<bool> Ticks() const;
  void SetTicks(const QList<bool>& ticks);
  ColumnTickFacts TickFacts(int row) const;
  bool AcceptTick(int row, bool ticking);
  void ScheduleRebuild();
  void RebuildFromTimer();
  void WriteQuery(const QString& query);
  void ApplyArrangement(const QStringList& arranged);
  FilterSortSource FilterSortFacts() const;

  void ClosePreview();
  void PlacePreview();
  bool RunQuery(const QString& query);

  void RestoreEditedProfile();
  bool ReadEditedProfile();
  void RestoreColumnChoice();

  bool ConfirmEditSave();
  QString FinishRefusal() const;
  bool CheckRowsHaveValues();
  bool DecideProfileType();
  bool CreateTableProfile();

  CWizardSheet* m_pWizard;
  ProfileDraft& m_draft;

  QLineEdit* m_pNameEdit = nullptr;
  QRadioButton* m_pTables = nullptr;
  QRadioButton* m_pViews = nullptr;
  QListWidget* m_pTableList = nullptr;
  CColoredListCtrl* m_pColumnList = nullptr;
  QCheckBox* m_pSelectAll = nullptr;
  QPlainTextEdit* m_pQueryEdit = nullptr;
  CBMButton* m_pFilter = nullptr;
  CBMButton* m_pSort = nullptr;
  CBMButton* m_pArrange = nullptr;
  CBMButton* m_pPreviewButton = nullptr;
  QLabel* m_pRecordCount = nullptr;
  CPopupDlg* m_pPopup = nullptr;

  QList<ListedColumn> m_columns;
  FilterSortLists m_lists;
  QStringList m_arranged;
  QStringList m_selectedColumns;
  QMap<QString, QString> m_positions;
  FormColumnUse m_forms;
  QString m_strEditedName;
  int m_nListType = kTablesListType;
  int m_nChosenRow = -1;
  int m_nProfileType = 0;
  bool m_bPreviewShown = false;
  QTimer m_rebuildTimer;
};
