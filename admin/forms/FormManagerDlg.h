#pragma once

#include <QDialog>

#include <cstdint>

class CBMButton;
class CColoredListCtrl;
class CNewFormWizard;
class CTarnwickApp;
class FormDocument;
class QKeyEvent;
struct FormListRow;

// The Form Manager module: the stored forms that some device user has, adding one on an
// assigned profile, editing one in the designer page, and removing one that no Go To Form link
// points at.
class CFormManagerDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CFormManagerDlg(CTarnwickApp& app, QWidget* parent = nullptr);
  ~CFormManagerDlg() override;

  CColoredListCtrl* GetFormList() const { return m_pFormList; }

  void OnBnClickedAddForm();
  void OnBnClickedEditForm();
  void OnBnClickedRemoveForm();
  void OnBnClickedHelp();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void InitFormListColumns();
  // Reconnects the settings database and lists the forms afresh.
  void LoadFormList();
  void EnableFormButtons(bool enabled);
  void OnFormSelected();
  QString SelectedTitle() const;
  // Hands the stored form and its loaded profile to the designer's form document; false
  // (logged and shown) when the profile could not be loaded.
  bool FillDesignerForEdit(const FormListRow& form, FormDocument& document);
  // Runs the wizard; true when it ended with the form saved.
  bool RunWizard(CNewFormWizard& wizard);
  void ShowNoFormSelected();

  CTarnwickApp& m_app;
  CColoredListCtrl* m_pFormList;
  CBMButton* m_pEditForm;
  CBMButton* m_pRemoveForm;
  CBMButton* m_pHelp;
};
