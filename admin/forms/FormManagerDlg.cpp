#include "admin/forms/FormManagerDlg.h"

#include "admin/forms/DesignerProfile.h"
#include "admin/forms/FormDesignerDlg.h"
#include "admin/forms/FormDocument.h"
#include "admin/forms/FormListRows.h"
#include "admin/forms/NewFormWizard.h"
#include "admin/foundation/AppLog.h"
#include "admin/foundation/FormQueries.h"
#include "admin/foundation/FormStatements.h"
#include "admin/foundation/OdbcUtilities.h"
#include "admin/foundation/ProfileQueries.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/ColoredListCtrl.h"
#include "admin/shell/DeviceUserList.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/HelpBalloon.h"
#include "admin/shell/TarnwickApp.h"
#include "platform/widgets/MessageBox.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>

#include <optional>

namespace {

constexpr int kHelpTopic = 32;

int Box(QWidget* parent, const QString& text, unsigned type) {
  return platform::MessageBox(parent, text, ProgramTitle(), type);
}

// The stored form of that title as the form list reads it now; nothing when it is gone.
std::optional<FormListRow> FindListedForm(const admin::CDatabseConnection& settings, const QString& title) {
  for (FormListRow& row : ReadFormListRows(settings))
    if (row.FormTitle == title) return std::move(row);
  return std::nullopt;
}

}  // namespace

CFormManagerDlg::CFormManagerDlg(CTarnwickApp& app, QWidget* parent)
    : QDialog(parent, Qt::Widget), m_app(app), m_pFormList(new CColoredListCtrl(this)) {
  setObjectName(QStringLiteral("Form Manager"));
  resize(760, 400);
  ApplyDialogBrush(this);
  auto* frame = new QGroupBox(QStringLiteral("Form List"), this);
  frame->setObjectName(QStringLiteral("1225"));
  frame->setGeometry(10, 6, 740, 384);
  // The frame is made after the list; under it, the list takes the clicks.
  frame->lower();
  m_pFormList->setObjectName(QStringLiteral("1052"));
  m_pFormList->setShowGrid(true);
  m_pFormList->setGeometry(20, 28, 720, 310);
  auto* add = new CBMButton(QStringLiteral("Add Form"), 1153, QRect(20, 350, 120, 28), this);
  m_pEditForm = new CBMButton(QStringLiteral("Edit Form"), 1175, QRect(150, 350, 120, 28), this);
  m_pRemoveForm = new CBMButton(QStringLiteral("Remove Form"), 1222, QRect(280, 350, 120, 28), this);
  m_pHelp = new CBMButton(QStringLiteral("Help"), 1015, QRect(660, 350, 80, 28), this);
  connect(add, &QPushButton::clicked, this, &CFormManagerDlg::OnBnClickedAddForm);
  connect(m_pEditForm, &QPushButton::clicked, this, &CFormManagerDlg::OnBnClickedEditForm);
  connect(m_pRemoveForm, &QPushButton::clicked, this, &CFormManagerDlg::OnBnClickedRemoveForm);
  connect(m_pHelp, &QPushButton::clicked, this, &CFormManagerDlg::OnBnClickedHelp);
  connect(m_pFormList, &QTableWidget::itemSelectionChanged, this, &CFormManagerDlg::OnFormSelected);
  connect(m_pFormList, &QTableWidget::cellDoubleClicked, this, &CFormManagerDlg::OnBnClickedEditForm);
  InitFormListColumns();
  LoadFormList();
}

CFormManagerDlg::~CFormManagerDlg() = default;

// Enter and Escape do not close the module.
void CFormManagerDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape) return;
  QDialog::keyPressEvent(event);
}

void CFormManagerDlg::InitFormListColumns() {
  const int width = ShareOfListWidth(*m_pFormList, 2);
  m_pFormList->InsertColumn(0, QStringLiteral("Form Title"), width);
  m_pFormList->InsertColumn(1, QStringLiteral("Profile Name"), width);
  m_pFormList->horizontalHeader()->setFont(m_app.GetBoldFont());
}

void CFormManagerDlg::EnableFormButtons(bool enabled) {
  m_pEditForm->setEnabled(enabled);
  m_pRemoveForm->setEnabled(enabled);
}

// The rows are read whole into the list and their statement is freed before the next load
// disconnects: a statement left open over the reconnect would be freed with the old connection.
void CFormManagerDlg::LoadFormList() {
  m_pFormList->DeleteAllItems();
  EnableFormButtons(false);
  if (!m_app.ReconnectSettingsDatabase()) return;
  const admin::CDatabseConnection& settings = m_app.GetSettingsConnection();
  for (const FormListRow& row : ReadFormListRows(settings)) {
    if (IsFormAssigned(settings, row.FormID) != 1) continue;
    const int item = m_pFormList->InsertItem(m_pFormList->GetItemCount(), row.FormTitle);
    m_pFormList->SetItemText(item, 1, row.ProfileName);
  }
  WriteAppLog(-1, QStringLiteral("%1 Number of Form's are Available.").arg(m_pFormList->GetItemCount()));
}

QString CFormManagerDlg::SelectedTitle() const {
  const int row = m_pFormList->GetSelectionMark();
  return row < 0 ? QString() : m_pFormList->GetItemText(row, 0);
}

void CFormManagerDlg::OnFormSelected() {
  const QString title = SelectedTitle();
  if (title.isEmpty()) return;
  const int32_t formId = GetFormIDByTitle(m_app.GetSettingsConnection(), title);
  WriteAppLog(-1, QStringLiteral("Form with Form Title %1 and FormID %2 is selected.").arg(title).arg(formId));
  EnableFormButtons(true);
}

void CFormManagerDlg::ShowNoFormSelected() { Box(this, QStringLiteral("No Form is Selected."), platform::MB_OK); }

bool CFormManagerDlg::RunWizard(CNewFormWizard& wizard) { return wizard.exec() == CWizardSheet::kFinishResult; }

void CFormManagerDlg::OnBnClickedAddForm() {
  if (AnyProfileAssigned(m_app.GetSettingsConnection()) != 1) {
    Box(this, QStringLiteral("No Profile Available, Please Add Profile first."),
        platform::MB_OK | platform::MB_ICONINFORMATION);
    return;
  }
  WriteAppLog(-1, QStringLiteral("Add New Form started."));
  CNewFormWizard wizard(CNewFormWizard::kNewMode, this);
  if (RunWizard(wizard)) LoadFormList();
  admin::DeleteTempExcelCopies();
  WriteAppLog(-1, QStringLiteral("Add New Form end."));
}

// The form is looked up by its title afresh: one removed meanwhile opens nothing, rather than
// whichever form was read last (whose save would then replace the wrong form).
void CFormManagerDlg::OnBnClickedEditForm() {
  const QString title = SelectedTitle();
  if (title.isEmpty()) {
    ShowNoFormSelected();
    return;
  }
  WriteAppLog(-1, QStringLiteral("Edit Form started."));
  const std::optional<FormListRow> form = FindListedForm(m_app.GetSettingsConnection(), title);
  if (!form) {
    ShowNoFormSelected();
    return;
  }
  WriteAppLog(-1, QStringLiteral("Form Title %1 with Form ID : %2.").arg(form->FormTitle).arg(form->FormID));
  CNewFormWizard wizard(CNewFormWizard::kEditMode, this);
  if (!FillDesignerForEdit(*form, wizard.GetFormDesignerPage()->GetDocument())) return;
  if (RunWizard(wizard)) LoadFormList();
  admin::DeleteTempExcelCopies();
  WriteAppLog(-1, QStringLiteral("Edit Form end."));
}

bool CFormManagerDlg::FillDesignerForEdit(const FormListRow& form, FormDocument& document) {
  FormInfo& edited = document.GetFormInfo();
  edited.SetFormName(form.FormTitle);
  edited.ProfileName = form.ProfileName;
  edited.FormID = form.FormID;
  edited.FormText = form.FormText;
  document.SetProfileColumns({});
  DesignerProfile profile;
  if (LoadProfileForDesigner(m_app.GetSettingsConnection(), form.ProfileName, &profile) != 1) {
    WriteAppLog(-1, QStringLiteral("Problem to Get Profile Details."));
    Box(this, QStringLiteral("Problem to Get Profile Details."), platform::MB_OK | platform::MB_ICONINFORMATION);
    return false;
  }
  document.SetLoadedProfile(profile);
  return true;
}

void CFormManagerDlg::OnBnClickedRemoveForm() {
  const QString title = SelectedTitle();
  if (title.isEmpty()) {
    ShowNoFormSelected();
    return;
  }
  if (Box(this, QStringLiteral("Are you sure to remove Form with Form Title : %1 ?").arg(title),
          platform::MB_YESNO | platform::MB_DEFBUTTON2) != platform::IDYES)
    return;
  admin::CDatabseConnection& settings = m_app.GetSettingsConnection();
  if (IsGoToFormTarget(settings, title) == 1) {
    Box(this,
        QStringLiteral("You can not delete this Form, Form \"%1\" is used in another Form for \"Go To Form\" option.")
            .arg(title),
        platform::MB_OK | platform::MB_ICONERROR);
    return;
  }
  const int32_t formId = GetFormIDByTitle(settings, title);
  WriteAppLog(-1, QStringLiteral("Remove Form with Form Title %1 and FormID %2.").arg(title).arg(formId));
  if (DeleteForm(settings, formId) == 1)
    WriteAppLog(-1, QStringLiteral("Form with Form Title %1 and FormID %2 is removed.").arg(title).arg(formId));
  LoadFormList();
}

void CFormManagerDlg::OnBnClickedHelp() { ShowHelpBalloon(kHelpTopic, m_pHelp, BalloonAnchor::DialogHelpButton); }
