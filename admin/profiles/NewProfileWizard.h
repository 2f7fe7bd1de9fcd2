#pragma once

#include "admin/foundation/ProfileRecord.h"
#include "admin/shell/WizardSheet.h"

class CProfileBuildQueryForProcPage;
class CProfileBuildQueryPage;
class CProfileDatabaseConnectionPage;

// The wizard that makes or edits a profile. A new profile passes the data-source page and then
// the table/view page or the stored-procedure page; an edit shows only the page of its kind,
// connected beforehand through the data-source page's connection manager. The pages fill the
// profile record; a result of kFinishResult means the profile was saved.
class CNewProfileWizard : public CWizardSheet {
  Q_OBJECT

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
  ProfileRecord& GetProfileRecord() { return m_ProfileRecord; }

  CProfileBuildQueryPage* GetBuildQueryPage() const { return m_pBuildQueryPage; }
  CProfileBuildQueryForProcPage* GetBuildQueryForProcPage() const { return m_pBuildQueryForProcPage; }

  // Also in edit mode, where it is never shown: its connection manager is the source of the
  // edited profile's page.
  CProfileDatabaseConnectionPage* const m_DatabaseConnectionPage;

 private:
  int m_nMode;
  int m_nKind;
  ProfileRecord m_ProfileRecord;
  CProfileBuildQueryPage* m_pBuildQueryPage;
  CProfileBuildQueryForProcPage* m_pBuildQueryForProcPage;
};
