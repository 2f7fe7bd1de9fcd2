#pragma once

#include "shared/formtext/FormTextRecords.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <vector>

class CBMButton;
class CColoredListCtrl;
namespace admin { class CDatabseConnection; }
class QComboBox;
class QLabel;

// The Go To Form links of one Button: which field of this form fills which field of another
// form. A list of the links, and the three drop lists that add or change one.
class CGoToFormListDialog : public QDialog {
  Q_OBJECT

 public:
  enum Mode {
    kListMode = 11,
    kAddMode = 22,
    kModifyMode = 33,
  };

  // `sourceFields` are the columns of this form's profile; `editedFormTitle` the title of the
  // form being designed (empty for a new form), never offered as destination. The settings
  // connection answers the forms and their profiles.
  CGoToFormListDialog(const admin::CDatabseConnection& settings, const std::vector<GoToFormInfo>& mappings,
                      const QStringList& sourceFields, const QString& editedFormTitle, QWidget* parent = nullptr);

  // The links in list order, once the dialog ended with OK.
  const std::vector<GoToFormInfo>& GetMappings() const { return m_mappings; }
  int GetMode() const { return m_nMode; }
  // Fills the destination fields with the columns of the selected destination form's profile.
  void SetViewMode();

 private:
  void BuildControls();
  void OnInitDialog();
  void ShowMode(int mode);
  void PrepareEditControls();
  void OnAdd();
  void OnModify();
  void OnRemove();
  void OnOk();
  void OnCancel();
  void OnHelp();
  // The refusal of the three texts in the edit controls; empty when they may be taken.
  QString EditRefusal() const;
  void AppendRow(const GoToFormInfo& mapping);
  void SetRow(int row, const GoToFormInfo& mapping);
  GoToFormInfo EditedMapping() const;

  const admin::CDatabseConnection& m_settings;
  std::vector<GoToFormInfo> m_mappings;
  QStringList m_sourceFields;
  QString m_strEditedFormTitle;
  QStringList m_formTitles;
  QStringList m_formProfiles;
  int m_nMode = kListMode;
  int m_nModifiedRow = -1;
  CColoredListCtrl* m_pList;
  QList<QWidget*> m_listControls;
  QList<QWidget*> m_editControls;
  QComboBox* m_pForms;
  QComboBox* m_pSourceFields;
  QComboBox* m_pDestinationFields;
  CBMButton* m_pHelp;
};
