#pragma once

#include "admin/shell/WizardSheetPage.h"

#include <QString>

#include <cstdint>

class CBMButton;
class CDBConnManager;
class CWizardSheet;
class ProfileDraft;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

// The profile wizard's first page: a desktop database file or an ODBC data source name is
// chosen and connected through the draft's connection manager (asking for a login when the source
// wants one), and the source fields of the draft's profile record are written. Next chooses the
// profile's kind, so that the wizard keeps only the later page of that kind; coming back clears it.
class CProfileDatabaseConnectionPage : public CWizardSheetPage {
  Q_OBJECT

 public:
  // The radio choice.
  static constexpr int kFileChoice = 0;
  static constexpr int kOdbcChoice = 1;

  CProfileDatabaseConnectionPage(CWizardSheet* wizard, ProfileDraft& draft);
  ~CProfileDatabaseConnectionPage() override;

  void OnInitDialog() override;
  bool OnSetActive() override;
  int OnWizardNext() override;
  void OnHelp() override;

  void UpdateSourceChoice();
  void BrowseDatabaseFile();
  void SelectDataSourceName();
  // Writes the source fields of the draft's profile record.
  void StoreSourceFields(uint8_t code, const QString& connectionFolder, const QString& user, const QString& password,
                         const QString& sourceFolder, const QString& name);

  // Exports the worksheets of the workbook at `path` (the cleaned copy); then `path` names the
  // export's text files and `connectionFolder` their folder.
  bool ExportWorkbookSheets(QString* path, QString* connectionFolder);
  CDBConnManager* GetConnManager() const;
  const QString& GetDriverDescription() const;
  // Set when a workbook's worksheets were exported to text files and the export is connected.
  bool IsExcel() const;
  int GetSheetCount() const;
  int GetSourceChoice() const;

 private:
  enum class ConnectOutcome { Connected, Failed, Cancelled };

  void CreateControls();
  void FillDataSourceList();
  void OnFileChoiceClicked();
  void OnOdbcChoiceClicked();
  void OnConfig();
  void OnSmallHelp();
  // After the radio choice changed on a connected page the connection is dropped.
  bool ReplaceConnManagerIfConnected();
  // Cleans a copy of the workbook and, for a first row of field names, exports its worksheets
  // to text files: `path`, `connectionFolder` and `connectionKind` then name the export. False
  // when the user cancelled or the workbook could not be read (then shown).
  bool PrepareWorkbook(QString* path, QString* connectionFolder, uint8_t* connectionKind);
  // Connects with no login first; when the source asks for one, `tryAdmin` tries "admin"
  // without a password, then the login dialog asks.
  ConnectOutcome ConnectAskingLogin(const QString& target, uint8_t kind, bool tryAdmin, QString* user,
                                    QString* password, QString* error);
  // A failed connect that reached the driver and was refused for its login.
  bool WantsLogin() const;
  void ShowConnectFailure(const QString& error);

  CWizardSheet* m_pWizard;
  ProfileDraft& m_draft;

  QRadioButton* m_pFileChoice = nullptr;
  QRadioButton* m_pOdbcChoice = nullptr;
  QLineEdit* m_pPathEdit = nullptr;
  QComboBox* m_pDataSources = nullptr;
  CBMButton* m_pBrowse = nullptr;
  CBMButton* m_pConfig = nullptr;
  CBMButton* m_pSmallHelp = nullptr;
  QCheckBox* m_pStoredProcedure = nullptr;
};
