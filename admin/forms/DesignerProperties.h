#pragma once

#include "admin/forms/PropertyCommit.h"
#include "admin/forms/PropertyRow.h"
#include "admin/forms/Refusal.h"

#include <QObject>
#include <QStringList>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

class CFormDesignerDlg;
class FormDocument;
class CFormMapping;
class CPropertiesControl;
class CRadioGroups;
class QLabel;
class QPushButton;
struct FormControlInfo;
struct LookupChoices;

// The designer page's three property grids (the form and its current tab, the selected control,
// the selected radio group), the item buttons of a ComboBox's list and the radio-group buttons.
// A committed value goes through the commit rules into the form; a refused one shows its box
// and the grid shows the stored value again. An edit row commits when its editing ends (Enter,
// the focus leaving it, another control or tab selected, Finish); drop lists and buttons commit
// at once. Grids are rebuilt after the event that committed, never under the box being edited.
class CDesignerProperties : public QObject {
  Q_OBJECT

 public:
  // The grids' tags, as their notices carry them.
  enum GridTag : uint16_t { kFormGrid = 1, kControlGrid = 2, kRadioGroupGrid = 3 };

  explicit CDesignerProperties(CFormDesignerDlg& page);
  ~CDesignerProperties() override;

  // Creates the grids and their buttons on the page and fills the form grid; no control is
  // selected yet.
  void CreatePropertiesCtrls();
  // Refills the form grid for the tab the strip has selected.
  void SetTabCtrlProp();
  // Follows the selection: the control grid shows the control's rows, or none for null. It
  // commits nothing: a pending edit is committed (CommitPendingEdits) while the control shown
  // before still exists, before the selection changes or the control is destroyed.
  void ShowControlProperties(FormControlInfo* control);
  FormControlInfo* GetSelectedControl() const { return m_pSelected; }
  // Commits every edit row whose text differs from the stored value; false when one was refused.
  bool CommitPendingEdits();

  // The other profiles a ComboBox may read its items from, with their columns; read from the
  // settings database when not given.
  void SetOtherProfiles(const std::vector<OtherProfile>& profiles, const std::map<int32_t, QStringList>& columns);

  CPropertiesControl* GetFormGrid() const { return m_pFormGrid; }
  CPropertiesControl* GetControlGrid() const { return m_pControlGrid; }
  CPropertiesControl* GetRadioGroupGrid() const { return m_pRadioGroupGrid; }
  QLabel* GetControlGridCaption() const { return m_pControlCaption; }
  QPushButton* GetAddItemButton() const { return m_pAddItem; }
  QPushButton* GetRemoveItemButton() const { return m_pRemoveItem; }
  QPushButton* GetAddRadioGroupButton() const { return m_pAddGroup; }
  QPushButton* GetRemoveRadioGroupButton() const { return m_pRemoveGroup; }

  // The buttons beside the grids.
  void OnAddItem();
  void OnRemoveItem();
  void OnAddRadioGroup();
  void OnRemoveRadioGroup();

 private:
  struct GridRows {
    CPropertiesControl* grid = nullptr;
    std::vector<PropertyRow> rows;
  };

  void CreateGrids();
  // A caption the page made, by its id.
  QLabel* PageCaption(int id) const;
  void CreateButtons();
  GridRows& RowsOf(int tag);
  const PropertyRow* StoredRow(int tag, int row);
  void Fill(GridRows& grid, std::vector<PropertyRow> rows);
  void RebuildControlGrid();
  void RebuildRadioGroupGrid();
  void ShowSideWidgets();
  void QueueRebuild();
  void RebuildAll();

  void OnPropertyChanged(int row, int propertyId, int tag);
  void OnEditingFinished(int row, int propertyId, int tag);
  // Applies a committed value; a refusal is shown and the row shows the stored value again.
  bool Commit(int tag, int propertyId, const QString& value);
  std::optional<Refusal> Apply(int tag, int propertyId, const QString& value);
  std::optional<Refusal> ApplyForm(int propertyId, const QString& value);
  std::optional<Refusal> ApplyControl(int propertyId, const QString& value);
  std::optional<Refusal> ApplyRadioGroup(int propertyId, const QString& value);
  void PressButton(int tag, int propertyId);
  void ChooseFormColor();
  void ChooseForeColor();
  void EditGoToFormLinks();
  void EditFormula();
  void ShowRefusal(const Refusal& refusal) const;
  void RefreshPreviews() const;

  CFormMapping Mapping() const;
  CRadioGroups Radios() const;
  propertycommit::ControlContext Context(CFormMapping& mapping, CRadioGroups& radios) const;
  LookupChoices Lookup(const FormControlInfo& control);
  const std::vector<OtherProfile>& OtherProfiles();
  QStringList LookupColumns(int32_t profileId);
  QString ColumnType(const QString& column) const;
  int SelectedGroup() const;

  CFormDesignerDlg& m_page;
  FormDocument& m_document;
  CPropertiesControl* m_pFormGrid = nullptr;
  CPropertiesControl* m_pControlGrid = nullptr;
  CPropertiesControl* m_pRadioGroupGrid = nullptr;
  QLabel* m_pControlCaption = nullptr;
  QPushButton* m_pAddItem = nullptr;
  QPushButton* m_pRemoveItem = nullptr;
  QPushButton* m_pAddGroup = nullptr;
  QPushButton* m_pRemoveGroup = nullptr;
  std::map<int, GridRows> m_grids;
  FormControlInfo* m_pSelected = nullptr;
  int m_nShownTab = -1;
  bool m_bRebuildQueued = false;
  std::optional<std::vector<OtherProfile>> m_otherProfiles;
  std::map<int32_t, QStringList> m_lookupColumns;
};
