#pragma once

#include "admin/profiles/ProfileDraft.h"
#include "admin/shell/WizardSheet.h"

class CProfileBuildQueryForProcPage;
class CProfileBuildQueryPage;
class CProfileDatabaseConnectionPage;

// The wizard that makes or edits a profile. A new profile passes the data-source page and then
// the table/view page or the stored-procedure page; an edit shows only the page of its kind,
// connected beforehand through the draft's connection manager. The pages fill the draft's
// profile record; a result of kFinishResult means the profile was saved.
class CNewProfileWizard : public CWizardSheet {
  Q_OBJECT

  // First: the pages are made with it and read it until they go.
  ProfileDraft m_draft;

 public:
  static constexpr int kNewMode = 0;
  static constexpr int kEditMode = 1;
  // The kind of an edited profile.
  static constexpr int kTableKind = 0;
  static constexpr int kProcedureKind = 1;

  CNewProfileWizard(int mode, int kind, QWidget* parent = nullptr);
  ~CNewProfileWizard() override;

  int GetMode() const { return m_nMode; }
  bool IsEditMode() const { return m_nMode == kEditMode; }
  int GetKind() const { return m_nKind; }
  ProfileDraft& GetDraft() { return m_draft; }
  ProfileRecord& GetProfileRecord() { return m_draft.GetProfileRecord(); }

  CProfileBuildQueryPage* GetBuildQueryPage() const { return m_pBuildQueryPage; }
  CProfileBuildQueryForProcPage* GetBuildQueryForProcPage() const { return m_pBuildQueryForProcPage; }

  // Also in edit mode, where it is never shown: it exports an edited profile's workbook.
  CProfileDatabaseConnectionPage* const m_DatabaseConnectionPage;

 private:
  // Only the page of the chosen kind follows the data-source page; the other comes back when
  // the data-source page is entered again.
  void KeepPageOfKind(bool procedure);
  void RestoreRemovedPage();

  int m_nMode;
  int m_nKind;
  CProfileBuildQueryPage* m_pBuildQueryPage;
  CProfileBuildQueryForProcPage* m_pBuildQueryForProcPage;
  CWizardSheetPage* m_pRemovedPage = nullptr;
};
