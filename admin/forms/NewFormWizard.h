#pragma once

#include "admin/shell/WizardSheet.h"

class CFormDesignerDlg;
class CFormProfileSelectionDlg;

// The wizard that adds or edits a form. A new form starts on the profile-selection page, which
// loads the chosen profile into the designer page's form document; an edit opens the designer
// page alone, its document filled by the caller. A result of kFinishResult means the designer page saved the form.
class CNewFormWizard : public CWizardSheet {
  Q_OBJECT

 public:
  static constexpr int kNewMode = 0;
  static constexpr int kEditMode = 1;

  explicit CNewFormWizard(int mode, QWidget* parent = nullptr);
  ~CNewFormWizard() override;

  int GetMode() const { return m_nMode; }
  CFormProfileSelectionDlg* GetProfileSelectionPage() const { return m_pProfileSelectionPage; }
  CFormDesignerDlg* GetFormDesignerPage() const { return m_pFormDesignerPage; }

 private:
  int m_nMode;
  // First: the profile-selection page fills its document.
  CFormDesignerDlg* m_pFormDesignerPage;
  CFormProfileSelectionDlg* m_pProfileSelectionPage;
};
