#pragma once

#include "admin/shell/WizardSheetPage.h"

#include <QString>

class CColoredListCtrl;
class CNewFormWizard;

// The new-form wizard's first page: the assigned profiles to choose from. Next loads the chosen
// profile's columns and hands them, with the profile, to the designer page.
class CFormProfileSelectionDlg : public CWizardSheetPage {
  Q_OBJECT

 public:
  explicit CFormProfileSelectionDlg(CNewFormWizard* wizard);
  ~CFormProfileSelectionDlg() override;

  void OnInitDialog() override;
  bool OnSetActive() override;
  int OnWizardNext() override;
  void OnHelp() override;

  CColoredListCtrl* GetProfileList() const { return m_pProfileList; }

 private:
  void InitProfileListColumns();
  void FillProfileList();
  void OnProfileSelected();
  QString SelectedProfileName() const;
  // Fills the designer page from the profile of that name; false (shown and logged) when the
  // profile could not be loaded.
  bool HandProfileToDesigner(const QString& profileName);
  void EnableNext(bool enabled);

  CNewFormWizard* m_pWizard;
  CColoredListCtrl* m_pProfileList;
  // Set when the page was left for the designer page.
  bool m_bLeftForDesigner = false;
};
