#include "admin/forms/GoToFormListDialog.h"

#include "admin/forms/ComboSelection.h"
#include "admin/forms/DesignerProfile.h"
#include "admin/foundation/AppLog.h"
#include "admin/foundation/FormQueries.h"
#include "admin/foundation/ProfileQueries.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/ColoredListCtrl.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/HelpBalloon.h"
#include "platform/widgets/MessageBox.h"
#include "shared/formtext/TaggedText.h"

#include <QComboBox>
#include <QLabel>

namespace {

constexpr int kListHelpTopic = 34;
constexpr int kEditHelpTopic = 35;

void Inform(QWidget* parent, const QString& text) {
  platform::MessageBox(parent, text, ProgramTitle(), platform::MB_OK | platform::MB_ICONINFORMATION);
}

}  // namespace

CGoToFormListDialog::CGoToFormListDialog(const admin::CDatabseConnection& settings, const std::vector<GoToFormInfo>& mappings,
                                         const QStringList& sourceFields, const QString& editedFormTitle,
                                         QWidget* parent)
    : QDialog(parent),
      m_settings(settings),
      m_mappings(mappings),
      m_sourceFields(sourceFields),
      m_strEditedFormTitle(editedFormTitle),
      m_pList(new CColoredListCtrl(this)),
      m_pForms(new QComboBox(this)),
      m_pSourceFields(new QComboBox(this)),
      m_pDestinationFields(new QComboBox(this)),
      m_pHelp(new CBMButton(QStringLiteral("Help"), this)) {
  setWindowTitle(QStringLiteral("Go To Form"));
  setFixedSize(480, 300);
  ApplyDialogBrush(this);
  setFont(MakeFont(QStringLiteral("Verdana"), -11, 400));
  BuildControls();
  OnInitDialog();
}

void CGoToFormListDialog::BuildControls() {
  m_pList->setObjectName(QStringLiteral("1052"));
  m_pList->setGeometry(10, 10, 460, 200);
  m_listControls.append(m_pList);
  const struct {
    const char* id;
    QString text;
    int left;
    void (CGoToFormListDialog::*handler)();
  } listButtons[] = {{"1074", QStringLiteral("Add"), 210, &CGoToFormListDialog::OnAdd},
                     {"1175", QStringLiteral("Remove"), 300, &CGoToFormListDialog::OnRemove},
                     {"1192", QStringLiteral("Modify"), 390, &CGoToFormListDialog::OnModify}};
  for (const auto& button : listButtons) {
    auto* made = new CBMButton(button.text, this);
    made->setObjectName(QString::fromLatin1(button.id));
    made->setGeometry(button.left, 220, 80, 26);
    connect(made, &QPushButton::clicked, this, button.handler);
    m_listControls.append(made);
  }
  const struct {
    const char* labelId;
    QString text;
    const char* listId;
    QComboBox* list;
  } editRows[] = {{"1280", QStringLiteral("Select Form :"), "1267", m_pForms},
                  {"1281", QStringLiteral("Source Field :"), "1282", m_pSourceFields},
                  {"1283", QStringLiteral("Destination Field :"), "1284", m_pDestinationFields}};
  int top = 40;
  for (const auto& row : editRows) {
    auto* label = new QLabel(row.text, this);
    label->setObjectName(QString::fromLatin1(row.labelId));
    label->setGeometry(30, top, 150, 24);
    row.list->setObjectName(QString::fromLatin1(row.listId));
    row.list->setGeometry(190, top, 260, 24);
    m_editControls << label << row.list;
    top += 50;
  }
  connect(m_pForms, &QComboBox::activated, this, &CGoToFormListDialog::SetViewMode);
  auto* ok = new CBMButton(QStringLiteral("Ok"), this);
  ok->setObjectName(QStringLiteral("1"));
  ok->setGeometry(300, 262, 80, 26);
  ok->setDefault(true);
  auto* cancel = new CBMButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("2"));
  cancel->setGeometry(390, 262, 80, 26);
  m_pHelp->setObjectName(QStringLiteral("1015"));
  m_pHelp->setGeometry(10, 262, 80, 26);
  connect(ok, &QPushButton::clicked, this, &CGoToFormListDialog::OnOk);
  connect(cancel, &QPushButton::clicked, this, &CGoToFormListDialog::OnCancel);
  connect(m_pHelp, &QPushButton::clicked, this, &CGoToFormListDialog::OnHelp);
}

void CGoToFormListDialog::OnInitDialog() {
  m_pList->setShowGrid(true);
  const int third = m_pList->contentsRect().width() / 3;
  m_pList->InsertColumn(0, QStringLiteral("Source Field"), third);
  m_pList->InsertColumn(1, QStringLiteral("Desitnation Form"), third);
  m_pList->InsertColumn(2, QStringLiteral("Destination Field"), third);
  for (const GoToFormInfo& mapping : m_mappings) AppendRow(mapping);
  ShowMode(kListMode);
}

void CGoToFormListDialog::ShowMode(int mode) {
  m_nMode = mode;
  for (QWidget* control : m_listControls) control->setVisible(mode == kListMode);
  for (QWidget* control : m_editControls) control->setVisible(mode != kListMode);
}

void CGoToFormListDialog::PrepareEditControls() {
  m_pSourceFields->clear();
  m_pSourceFields->addItems(m_sourceFields);
  m_pSourceFields->setCurrentIndex(m_sourceFields.isEmpty() ? -1 : 0);
  m_formTitles.clear();
  m_formProfiles.clear();
  GetFormList(m_settings, m_strEditedFormTitle, &m_formTitles, &m_formProfiles);
  m_pForms->clear();
  m_pForms->addItems(m_formTitles);
  m_pForms->setCurrentIndex(m_formTitles.isEmpty() ? -1 : 0);
  SetViewMode();
}

void CGoToFormListDialog::SetViewMode() {
  const qsizetype form = m_formTitles.indexOf(m_pForms->currentText());
  if (m_pForms->currentIndex() < 0 || form < 0) return;
  const QString profileName = GetProfileName(m_settings, taggedtext::ToInt(m_formProfiles.value(form)));
  DesignerProfile profile;
  if (LoadProfileForDesigner(m_settings, profileName, &profile) != 1) {
    WriteAppLog(-1, QStringLiteral("<GoToForm> <SetViewMode> Problem to Get Profile Details."));
    Inform(this, QStringLiteral("Problem to Get Profile Details."));
    return;
  }
  m_pDestinationFields->clear();
  m_pDestinationFields->addItems(profile.ColumnNames);
  m_pDestinationFields->setCurrentIndex(profile.ColumnNames.isEmpty() ? -1 : 0);
}

void CGoToFormListDialog::OnAdd() {
  PrepareEditControls();
  ShowMode(kAddMode);
}

void CGoToFormListDialog::OnModify() {
  m_nModifiedRow = m_pList->GetSelectionMark();
  if (m_nModifiedRow < 0) return;
  PrepareEditControls();
  SelectEqualOrPrefix(m_pSourceFields, m_pList->GetItemText(m_nModifiedRow, 0));
  if (SelectEqualOrPrefix(m_pForms, m_pList->GetItemText(m_nModifiedRow, 1))) SetViewMode();
  SelectEqualOrPrefix(m_pDestinationFields, m_pList->GetItemText(m_nModifiedRow, 2));
  ShowMode(kModifyMode);
}

void CGoToFormListDialog::OnRemove() {
  const int row = m_pList->GetSelectionMark();
  if (row < 0) return;
  const int answer =
      platform::MessageBox(this, QStringLiteral("Are you sure to remove selected Go To Form information ?"),
                           ProgramTitle(), platform::MB_YESNO | platform::MB_DEFBUTTON2);
  if (answer == platform::IDYES) m_pList->DeleteItem(row);
}

// A changed link is checked as a new one is: an empty field would reach the stored form.
void CGoToFormListDialog::OnOk() {
  if (m_nMode == kListMode) {
    m_mappings.clear();
    for (int row = 0; row < m_pList->GetItemCount(); ++row)
      m_mappings.push_back({m_pList->GetItemText(row, 0), m_pList->GetItemText(row, 1), m_pList->GetItemText(row, 2)});
    accept();
    return;
  }
  const QString refusal = EditRefusal();
  if (!refusal.isEmpty()) {
    Inform(this, refusal);
    return;
  }
  if (m_nMode == kAddMode) AppendRow(EditedMapping());
  if (m_nMode == kModifyMode) SetRow(m_nModifiedRow, EditedMapping());
  ShowMode(kListMode);
}

QString CGoToFormListDialog::EditRefusal() const {
  if (m_pSourceFields->currentText().isEmpty())
    return QStringLiteral("Source Fiels should not be empty, Please Select at least one Source Field.");
  if (m_pForms->currentText().isEmpty())
    return QStringLiteral("Destination Form should not be empty, Please Select at least one Destination Form.");
  if (m_pDestinationFields->currentText().isEmpty())
    return QStringLiteral(
        "Destination Form Field should not be empty, Please Select at least one Destination Form Field.");
  return {};
}

GoToFormInfo CGoToFormListDialog::EditedMapping() const {
  return {m_pSourceFields->currentText(), m_pForms->currentText(), m_pDestinationFields->currentText()};
}

void CGoToFormListDialog::AppendRow(const GoToFormInfo& mapping) {
  SetRow(m_pList->InsertItem(m_pList->GetItemCount(), mapping.SrcField), mapping);
}

void CGoToFormListDialog::SetRow(int row, const GoToFormInfo& mapping) {
  m_pList->SetItemText(row, 0, mapping.SrcField);
  m_pList->SetItemText(row, 1, mapping.DestForm);
  m_pList->SetItemText(row, 2, mapping.DestField);
}

void CGoToFormListDialog::OnCancel() {
  if (m_nMode == kListMode) {
    reject();
    return;
  }
  ShowMode(kListMode);
}

void CGoToFormListDialog::OnHelp() {
  ShowHelpBalloon(m_nMode == kListMode ? kListHelpTopic : kEditHelpTopic, m_pHelp, BalloonAnchor::DialogHelpButton);
}
