#pragma once

#include "admin/shell/WizardSheetPage.h"

#include <QString>

class CColoredListCtrl;
class CWizardSheet;
class FormDocument;

// The new-form wizard's first page: the assigned profiles to choose from. Next loads the chosen
// profile's columns into the form document, with the profile's name as the form's.
class CFormProfileSelectionDlg : public CWizardSheetPage {
  Q_OBJECT

 public:
  CFormProfileSelectionDlg(CWizardSheet* wizard, FormDocument& document);
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
  // Fills the form document from the profile of that name; false (shown and logged) when the
  // profile could not be loaded.
  bool HandProfileToDesigner(const QString& profileName);
  void EnableNext(bool enabled);

  CWizardSheet* m_pWizard;
  FormDocument& m_document;
  CColoredListCtrl* m_pProfileList;
  // Set when the page was left for the designer page.
  bool m_bLeftForDesigner = false;
};
