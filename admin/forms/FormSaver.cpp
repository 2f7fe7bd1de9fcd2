#include "admin/forms/FormSaver.h"

#include "admin/forms/FormDocument.h"
#include "admin/forms/FormMapping.h"
#include "admin/foundation/AppLog.h"
#include "admin/foundation/FormIdCounter.h"
#include "admin/foundation/FormInfo.h"
#include "admin/foundation/FormQueries.h"
#include "admin/foundation/FormStatements.h"
#include "admin/foundation/SettingsTransaction.h"
#include "admin/foundation/UserFormStatusRowInfo.h"
#include "platform/widgets/MessageBox.h"

namespace {

constexpr QStringView kLogPrefix = u"<FormDesignerDlg> <OnFinish> ";

void Log(const QString& text) { WriteAppLog(-1, kLogPrefix.toString() + text); }

void Inform(const QString& text) {
  platform::MessageBox(nullptr, text, ProgramTitle(), platform::MB_OK | platform::MB_ICONINFORMATION);
}

void ShowError(const QString& text) {
  platform::MessageBox(nullptr, text, ProgramTitle(), platform::MB_OK | platform::MB_ICONERROR);
}

const QString kCreationFailed = QStringLiteral("Error in Form Creation.");

}  // namespace

CFormSaver::CFormSaver(admin::CDatabseConnection& settings, FormDocument& form, Target target, AskDefaultValues ask,
                       BuildFormText formText, BuildTabText tabText)
    : m_settings(settings),
      m_form(form),
      m_target(std::move(target)),
      m_ask(std::move(ask)),
      m_formText(std::move(formText)),
      m_tabText(std::move(tabText)) {}

std::optional<int32_t> CFormSaver::Save() {
  if (!CheckGoToFormLinks() || !SettleDefaultValues()) return std::nullopt;
  const QString name = m_form.GetFormInfo().GetFormName().trimmed();
  if (!CheckName(name) || !CheckRename(name) || !CheckDefaultUser()) return std::nullopt;
  std::vector<FormRowInfo> rows;
  if (!BuildRows(name, &rows)) return std::nullopt;
  int32_t formId = 0;
  if (TakeNextFormID(m_settings, &formId) != 1) {
    Log(QStringLiteral("Failed to Get Next Form ID Settings."));
    Inform(QStringLiteral("Error in Database Synchronization Form creation."));
    return std::nullopt;
  }
  if (!WriteRows(formId, std::move(rows))) {
    ShowError(kCreationFailed);
    return std::nullopt;
  }
  Log(QStringLiteral("Form \"%1\" Created Successfully with Form ID %2.").arg(name).arg(formId));
  return formId;
}

bool CFormSaver::HasButtonWith(const QString& action) const {
  for (int t = 0; t < m_form.GetFormInfo().GetTabCount(); ++t) {
    const FormTabInfo& tab = *m_form.GetFormInfo().GetTab(t);
    for (int c = 0; c < tab.GetControlCount(); ++c) {
      const FormControlInfo& control = *tab.GetControl(c);
      if (control.Type == kButton && control.Action == action) return true;
    }
  }
  return false;
}

bool CFormSaver::CheckGoToFormLinks() const {
  for (int t = 0; t < m_form.GetFormInfo().GetTabCount(); ++t) {
    const FormTabInfo& tab = *m_form.GetFormInfo().GetTab(t);
    for (int c = 0; c < tab.GetControlCount(); ++c) {
      const FormControlInfo& control = *tab.GetControl(c);
      if (control.Type != kButton || control.Action != kGoToFormAction || !control.GoToForms.empty()) continue;
      Inform(QStringLiteral("Please Select Form for \"Go To Form\" Button(s)."));
      return false;
    }
  }
  return true;
}

ProfileColumns CFormSaver::UnmappedColumns() const {
  const QStringList noActions;
  const QStringList inUse =
      CFormMapping(m_form.GetProfileColumns(), m_form.GetFormInfo(), m_form.GetRadioGroups(), noActions).ColumnsInUse();
  ProfileColumns unmapped;
  for (const ProfileColumn& column : m_form.GetProfileColumns())
    if (!inUse.contains(column.Name)) unmapped.push_back(column);
  return unmapped;
}

// A form that adds records must say what the columns it does not show get.
bool CFormSaver::SettleDefaultValues() {
  const ProfileColumns unmapped = HasButtonWith(QStringLiteral("New")) ? UnmappedColumns() : ProfileColumns();
  if (unmapped.empty()) {
    m_form.GetDefaultValues().clear();
    return true;
  }
  std::vector<FieldDefaultValue> values = m_form.GetDefaultValues();
  if (!m_ask(unmapped, &values)) {
    Inform(QStringLiteral("Not all Fields are mapped, Please map all Fields in Profile."));
    return false;
  }
  m_form.GetDefaultValues() = std::move(values);
  return true;
}

bool CFormSaver::CheckName(const QString& name) const {
  if (name.isEmpty()) {
    Inform(QStringLiteral("Please, Enter Form Name."));
    return false;
  }
  const bool ownTitle = m_target.EditMode && name == m_target.EditedTitle;
  if (!ownTitle && IsFormTitleUsed(m_settings, name) == 1) {
    Inform(QStringLiteral("Form already exist with the same name. Please, Enter another Form Name."));
    return false;
  }
  return true;
}

// A Go To Form link finds its form by title: renaming a form that one points at would leave
// the link pointing at nothing.
bool CFormSaver::CheckRename(const QString& name) const {
  if (!m_target.EditMode || name == m_target.EditedTitle) return true;
  const std::optional<QString> source = GetGoToFormSource(m_settings, m_target.EditedTitle);
  if (!source) return true;
  const QString text =
      QStringLiteral("Form Name can not be changed: a \"Go To Form\" Button of Form \"%1\" points at Form \"%2\".")
          .arg(*source, m_target.EditedTitle);
  Log(text);
  Inform(text);
  return false;
}

bool CFormSaver::CheckDefaultUser() const {
  if (!m_target.DefaultUserID.isEmpty()) return true;
  const QString text =
      QStringLiteral("Device ID of this desktop is not available. Please install Tarnwick Plus Lite again.");
  Log(text);
  ShowError(text);
  return false;
}

bool CFormSaver::BuildRows(const QString& name, std::vector<FormRowInfo>* rows) const {
  FormRowInfo form;
  form.Number = m_form.GetFormInfo().ProfileID;
  form.Title = name;
  QString error;
  bool built = m_formText(&form.Text, &error);
  rows->push_back(std::move(form));
  for (int t = 0; built && t < m_form.GetFormInfo().GetTabCount(); ++t) {
    FormRowInfo tab;
    tab.Number = t;
    tab.Title = m_form.GetFormInfo().GetTab(t)->GetFormTabTitle();
    built = m_tabText(t, &tab.Text, &error);
    rows->push_back(std::move(tab));
  }
  if (built) return true;
  Log(QStringLiteral("Error in Form Creation. %1").arg(error));
  ShowError(kCreationFailed);
  return false;
}

bool CFormSaver::WriteRows(int32_t formId, std::vector<FormRowInfo> rows) {
  SettingsTransaction transaction(m_settings);
  if (!transaction.IsOpen()) {
    Log(QStringLiteral("Could not begin writing Form ID %1.").arg(formId));
    return false;
  }
  if (m_target.EditMode && DeleteFormInTransaction(m_settings, m_target.EditedFormID) != 1) {
    Log(QStringLiteral("Error to delete the edited Form ID %1.").arg(m_target.EditedFormID));
    return false;
  }
  const FormRowInfo& form = rows.front();
  if (SaveFormInfo(m_settings, formId, form.Number, form.Title, form.Text) != 1) {
    Log(QStringLiteral("Error to save FormInfo of Form ID %1.").arg(formId));
    return false;
  }
  for (size_t i = 1; i < rows.size(); ++i) {
    const FormRowInfo& tab = rows[i];
    Log(QStringLiteral("Tab Title : %1").arg(tab.Title));
    if (SaveFormDetails(m_settings, formId, tab.Number, tab.Title, tab.Text) != 1) {
      Log(QStringLiteral("Error to save FormDetails of Form ID %1 for Tab ID %2.").arg(formId).arg(tab.Number));
      return false;
    }
  }
  const UserFormStatusRowInfo status{formId, m_target.DefaultUserID, QStringLiteral("A")};
  if (SaveUserFormStatus(m_settings, status.FormID, status.UserID, status.StatusFlag) != 1) {
    Log(QStringLiteral("Error to save UserFormStatus of User %1 for Form ID %2.").arg(status.UserID).arg(formId));
    return false;
  }
  if (transaction.Commit()) return true;
  Log(QStringLiteral("Could not store Form ID %1.").arg(formId));
  return false;
}
