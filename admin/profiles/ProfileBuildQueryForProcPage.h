#pragma once

#include "admin/profiles/ColumnChoiceChecks.h"
#include "admin/profiles/ProcedureCall.h"
#include "admin/shell/WizardSheetPage.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class CBMButton;
class CColoredListCtrl;
namespace admin { class CDatabseConnection; }
class CDBConnManagerForProc;
class CWizardSheet;
class CPopupDlg;
class ProfileDraft;
class QLabel;
class QLineEdit;
class QListWidget;

// The profile wizard's stored-procedure page: the procedures of the connected data source name,
// the chosen one's parameters, their values asked in the parameter dialog, the call text that
// becomes the profile's query, its result columns and a preview of its rows. Finish stores the
// profile (new, or the edited one under its number); a procedure without a result set cannot be
// finished.
class CProfileBuildQueryForProcPage : public CWizardSheetPage {
  Q_OBJECT

 public:
  static constexpr int kHelpTopic = 27;

  CProfileBuildQueryForProcPage(CWizardSheet* wizard, ProfileDraft& draft);
  ~CProfileBuildQueryForProcPage() override;

  void OnInitDialog() override;
  bool OnSetActive() override;
  int OnWizardBack() override;
  bool OnWizardFinish() override;
  void OnHelp() override;

  void FillProcedureList();
  void OnProcedureSelected();
  void FillParameterList();
  void SelectProcedure();
  // Takes the selected procedure's name for the profile and settles the page on the call's
  // outcome; `allowApply` lets it enable Apply.
  void BuildCallText(bool allowApply);
  // An edited profile's stored procedure, its arguments taken from the stored call.
  void OnLBNSelChangeListProcForEditProfile();
  void FillColumnsForEditProfile();
  void TogglePreview();

  QLineEdit* GetNameEdit() const { return m_pNameEdit; }
  QListWidget* GetProcedureList() const { return m_pProcedureList; }
  CColoredListCtrl* GetResultList() const { return m_pResultList; }
  CColoredListCtrl* GetParameterList() const { return m_pParameterList; }
  CBMButton* GetPreviewButton() const { return m_pPreviewButton; }
  QLabel* GetRecordCount() const { return m_pRecordCount; }
  CPopupDlg* GetPopup() const { return m_pPopup.get(); }
  const QString& GetCallText() const { return m_strCallText; }

 private:
  void CreateControls();
  void CreateLists();
  bool IsMySql() const;
  CallSyntax Syntax() const;
  // The one selected procedure; empty when none or several are selected.
  QString SelectedProcedure() const;
  void SelectStoredProcedure();
  // Why an edited profile may not move to another procedure; empty when it may.
  QString OtherProcedureRefusal() const;
  void ResetResultList();
  // Runs the call and lists its result columns.
  void ExecuteCall();
  // Enables preview and Apply when the call gave columns; else refuses the procedure.
  void SettleCallOutcome(bool allowApply);
  QStringList ResultColumns() const;
  bool ConfirmEditSave(const QStringList& resultColumns);
  // Runs the call once more before storing; false (shown) when it fails or gives an empty row.
  bool RecheckRows();
  void HidePreview();
  void ReadFormColumnUse();
  admin::CDatabseConnection* Settings() const;

  CWizardSheet* m_pWizard;
  ProfileDraft& m_draft;
  std::unique_ptr<CDBConnManagerForProc> m_pConnManager;
  std::unique_ptr<CPopupDlg> m_pPopup;
  QString m_strDriverDescription;
  QString m_strDbmsName;
  QString m_strStoredName;
  QString m_strStoredProcedure;
  QString m_strArguments;
  QString m_strCallText;
  QList<ProcedureParameter> m_parameters;
  FormColumnUse m_formUse;
  bool m_bPreviewShown = false;

  QLineEdit* m_pNameEdit = nullptr;
  QListWidget* m_pProcedureList = nullptr;
  CColoredListCtrl* m_pResultList = nullptr;
  CColoredListCtrl* m_pParameterList = nullptr;
  CBMButton* m_pPreviewButton = nullptr;
  QLabel* m_pRecordCount = nullptr;
};
