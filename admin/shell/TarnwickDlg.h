#pragma once

#include <QDialog>
#include <QPointer>

class CBMButton;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

// The administration program's main window: the module tree on the left; on the right the
// administrator login or the dialog of the selected module, made anew on every selection.
class CTarnwickDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CTarnwickDlg(QWidget* parent = nullptr);

  // The dialog of the selected module; null while none is shown.
  QWidget* GetModuleDialog() const { return m_pModuleDlg; }

  void OnBnClickedChangePassword();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void CreateControls();
  void CreateTitleBand();
  void CreateLoginPanel();
  void OnInitDialog();
  QTreeWidgetItem* InsertTreeItem(const QString& text, QTreeWidgetItem* parent);
  void ShowLoginControls(int mode);
  void OnBnClickedLogin();
  void OnEnChangeAdminPassword();
  void OnTvnSelchangedModuleTree(QTreeWidgetItem* item);
  void OpenModule(const QString& module);
  void DestroyModuleDialog();
  void SetBanner(int bitmap);
  void ShowAbout();
  void SelectProfileManager();

  QTreeWidget* m_pTree = nullptr;
  QLabel* m_pTitleBand = nullptr;
  QLabel* m_pLogo = nullptr;
  QLabel* m_pTitle = nullptr;
  QLabel* m_pBanner = nullptr;
  QLabel* m_pVersion = nullptr;
  QGroupBox* m_pLoginGroup = nullptr;
  QLabel* m_pPasswordLabel = nullptr;
  QLineEdit* m_pPassword = nullptr;
  CBMButton* m_pLogin = nullptr;
  CBMButton* m_pChangePassword = nullptr;
  QTreeWidgetItem* m_pRootItem = nullptr;
  QTreeWidgetItem* m_pProfileItem = nullptr;
  QPointer<QWidget> m_pModuleDlg;
};
