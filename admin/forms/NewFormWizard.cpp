#include "admin/forms/NewFormWizard.h"

#include "admin/forms/FormDesignerDlg.h"
#include "admin/forms/FormProfileSelectionDlg.h"

CNewFormWizard::CNewFormWizard(int mode, QWidget* parent)
    : CWizardSheet(QStringLiteral("Wizard"), parent),
      m_nMode(mode),
      m_pFormDesignerPage(new CFormDesignerDlg(this)),
      m_pProfileSelectionPage(new CFormProfileSelectionDlg(this, m_pFormDesignerPage->GetDocument())) {
  m_pProfileSelectionPage->hide();
  m_pFormDesignerPage->hide();
  m_pFormDesignerPage->GetDocument().SetEditMode(mode);
  if (mode != kEditMode) AddPage(m_pProfileSelectionPage);
  AddPage(m_pFormDesignerPage);
  SetButtonsForMode(mode == kEditMode);
}

CNewFormWizard::~CNewFormWizard() = default;
