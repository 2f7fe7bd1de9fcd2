#include "admin/forms/FormDocument.h"

#include "admin/forms/ButtonActions.h"
#include "admin/forms/ControlWindows.h"
#include "admin/forms/FormTextLog.h"
#include "admin/foundation/AppLog.h"
#include "admin/foundation/FormCodes.h"
#include "shared/formtext/FormTextReader.h"
#include "shared/formtext/FormTextWriter.h"

#include <QWidget>

namespace {

constexpr QStringView kConstructTab = u"<FormDesignerDlg> <ConstructTabInfo> ";

int32_t AddSaturated(int32_t size, int offset) {
  const qint64 sum = qint64{size} + offset;
  return static_cast<int32_t>(qBound(qint64{INT32_MIN}, sum, qint64{INT32_MAX}));
}

void Log(const QString& text) { WriteAppLog(-1, text); }

}  // namespace

int32_t FormDocument::StoredFontSize(int32_t designerSize, int fontOffset) {
  return AddSaturated(designerSize, fontOffset);
}

int32_t FormDocument::DesignerFontSize(int32_t storedSize, int fontOffset) {
  return AddSaturated(storedSize, -fontOffset);
}

void FormDocument::SetFormColor(const QColor& color) {
  m_formColor = color;
  m_FormInfo.R = color.red();
  m_FormInfo.G = color.green();
  m_FormInfo.B = color.blue();
}

void FormDocument::SetLoadedProfile(const DesignerProfile& profile) {
  m_FormInfo.ProfileID = profile.ProfileID;
  m_nProfileType = profile.ProfileType;
  m_ProfileColumns.clear();
  for (qsizetype i = 0; i < profile.ColumnNames.size(); ++i)
    m_ProfileColumns.push_back({profile.ColumnNames[i], profile.ColumnTypes.value(i)});
}

void FormDocument::BuildActionList(int profileType) { m_ActionList = ::GetActionList(profileType); }

bool FormDocument::WriteFormText(QSize canvasFrame, int fontOffset, QString* text, QString* error) const {
  FormLevelInfo form;
  form.Groups = m_RadioGroups;
  for (const RadioGroupInfo& group : m_RadioGroups)
    Log(QStringLiteral("<FormDesignerDlg> <ConstructFormInfo> GroupName : %1, DataColumn : %2, NumRdBtn : %3")
            .arg(group.Name, group.DataColumn, QString::number(group.NumRdBtn)));
  form.Height = canvasFrame.height();
  form.Width = canvasFrame.width();
  form.FontSize = StoredFontSize(m_FormInfo.FontSize, fontOffset);
  form.R = m_FormInfo.R;
  form.G = m_FormInfo.G;
  form.B = m_FormInfo.B;
  Log(QStringLiteral("<FormDesignerDlg> <ConstructFormInfo> FrmHeight : %1, FrmWidth : %2, FrmFontSize : %3, FrmColor : %4 ")
          .arg(QString::number(form.Height), QString::number(form.Width), QString::number(m_FormInfo.FontSize),
               FormatRgbText(form.R, form.G, form.B)));
  form.DefaultValues = m_DefaultValues;
  for (const FieldDefaultValue& value : m_DefaultValues)
    Log(QStringLiteral("<FormDesignerDlg> <ConstructFormInfo> UnMapCol : %1, DefaultValue : %2")
            .arg(value.FldName, value.FldDefValue));
  FormTextWriter writer;
  if (writer.WriteFormLevel(form, text)) return true;
  *error = writer.ErrorMessage();
  Log(QStringLiteral("<FormDesignerDlg> <ConstructFormInfo> ") + *error);
  return false;
}

bool FormDocument::WriteTabText(int tabIndex, const ControlWindows& windows, const QRect& canvas, int fontOffset,
                                QString* text, QString* error) const {
  const FormTabInfo* tab = m_FormInfo.GetTab(tabIndex);
  if (tab == nullptr) {
    *error = QStringLiteral("The form has no tab %1.").arg(tabIndex);
    return false;
  }
  std::vector<StoredControl> controls;
  for (int i = 0; i < tab->GetControlCount(); ++i) {
    const FormControlInfo& control = *tab->GetControl(i);
    controls.push_back(ToStored(*tab, control, windows.Get(control), canvas, fontOffset));
    LogStoredControl(kConstructTab, controls.back(), DesignerFontSize(controls.back().Properties.FontSize, fontOffset),
                     true);
  }
  FormTextWriter writer;
  if (writer.WriteTab(controls, text)) return true;
  *error = QStringLiteral("Tab \"%1\": %2").arg(tab->GetFormTabTitle(), writer.ErrorMessage());
  Log(kConstructTab.toString() + *error);
  return false;
}

StoredControl FormDocument::ToStored(const FormTabInfo& tab, const FormControlInfo& control, const QWidget* window,
                                     const QRect& canvas, int fontOffset) const {
  StoredControl stored;
  stored.Properties = control;
  stored.Properties.FontSize = StoredFontSize(control.FontSize, fontOffset);
  if (window != nullptr) {
    const QRect rect = window->geometry();
    stored.X = rect.left() - canvas.left();
    stored.Y = rect.top() + tab.VerticalOffset - canvas.top();
    stored.Width = rect.width();
    stored.Height = rect.height();
  }
  return stored;
}

bool FormDocument::ReadFormText(int fontOffset) {
  FormLevelInfo form;
  form.R = m_formColor.red();
  form.G = m_formColor.green();
  form.B = m_formColor.blue();
  FormTextReader reader;
  reader.ReadFormLevel(m_FormInfo.FormText, &form);
  for (const RadioGroupInfo& group : form.Groups) {
    m_RadioGroups.push_back(group);
    Log(QStringLiteral("<FormDesignerDlg> <RetrieveFormInfo> GroupName : %1, DataColumn : %2, NumRdBtn : %3")
            .arg(group.Name, group.DataColumn, QString::number(group.NumRdBtn)));
  }
  m_FormInfo.FontSize = DesignerFontSize(form.FontSize, fontOffset);
  SetFormColor(QColor(form.R & 0xFF, form.G & 0xFF, form.B & 0xFF));
  Log(QStringLiteral("<FormDesignerDlg> <RetrieveFormInfo> FrmHeight : %1, FrmWidth : %2, FrmFontSize : %3, FrmColor : %4 ")
          .arg(QString::number(form.Height), QString::number(form.Width), QString::number(m_FormInfo.FontSize),
               FormatRgbText(form.R, form.G, form.B)));
  for (const FieldDefaultValue& value : form.DefaultValues) {
    m_DefaultValues.push_back(value);
    Log(QStringLiteral("<FormDesignerDlg> <RetrieveFormInfo> UnMapCol : %1, DefaultValue : %2")
            .arg(value.FldName, value.FldDefValue));
  }
  for (const QString& problem : reader.Problems())
    Log(QStringLiteral("<FormDesignerDlg> <RetrieveFormInfo> ") + problem);
  return reader.Problems().isEmpty();
}

std::vector<StoredControl> FormDocument::ReadTabText(const QString& text, QStringList* problems) {
  FormTextReader reader;
  std::vector<StoredControl> controls = reader.ReadTab(text);
  *problems = reader.Problems();
  return controls;
}
