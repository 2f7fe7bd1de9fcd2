#include "admin/forms/FormDesignerDlg.h"

#include "admin/forms/CanvasGeometry.h"
#include "admin/forms/ControlPreview.h"
#include "admin/forms/DesignerCanvas.h"
#include "admin/forms/DesignerPageControls.h"
#include "admin/forms/DesignerProperties.h"
#include "admin/forms/DesignerToolbox.h"
#include "admin/forms/FormFieldsDefaultValuesDlg.h"
#include "admin/forms/FormMapping.h"
#include "admin/forms/FormTextLog.h"
#include "admin/forms/NewControlDefaults.h"
#include "admin/foundation/AppLog.h"
#include "admin/foundation/DatabaseHandler.h"
#include "admin/shell/ControlButton.h"
#include "admin/shell/HelpBalloon.h"
#include "admin/shell/TabControl.h"
#include "admin/shell/TarnwickApp.h"
#include "admin/shell/WizardSheet.h"
#include "platform/widgets/MessageBox.h"
#include "shared/contract/SettingsTables.h"
#include "shared/formtext/TaggedText.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QScrollBar>

namespace {

// The page's layout: the canvas frame in the middle, the tab strip over the top of the canvas,
// the scroll bar at its right. The frame holds the device's canvas; the page grows to hold the
// frame.
constexpr QSize kPageSize(760, 600);
// Left of the frame: the toolbox and the radio-group widgets, then the "A" and "V" buttons.
constexpr QPoint kCanvasFrameTopLeft(270, 60);
constexpr QMargins kCanvasFrameBorder(2, 10, 2, 2);
// Room the page keeps right of and below the canvas frame: the scroll bar and the grids, whose
// columns are wide enough for the longest property name.
constexpr QMargins kPageMargins(0, 0, 332, 40);
constexpr int kTabStripHeight = 30;
constexpr int kScrollBarWidth = 16;
constexpr QPoint kToolboxTopLeft(20, 60);
constexpr int kHelpTopic = 31;

DeviceType RegisteredDeviceType() {
  const CTarnwickApp* app = GetTarnwickApp();
  return static_cast<DeviceType>(app != nullptr ? app->GetDeviceType() : 0);
}

QRect CanvasFrame() {
  const QSize canvas = canvas::CanvasSize(RegisteredDeviceType());
  return QRect(kCanvasFrameTopLeft, canvas.grownBy(kCanvasFrameBorder));
}

constexpr QStringView kRetrieveTab = u"<FormDesignerDlg> <RetrieveTabInfo> ";

// A stored text may hold any number, damaged ones too: a control's rectangle is kept to what a
// window can take (as Qt does with a window's size), so no coordinate sum can overflow.
int WindowCoordinate(int32_t stored) { return qBound(-QWIDGETSIZE_MAX, stored, QWIDGETSIZE_MAX); }
int WindowExtent(int32_t stored) { return qBound(0, stored, QWIDGETSIZE_MAX); }

}  // namespace

CFormDesignerDlg::CFormDesignerDlg(QWidget* parent) : CWizardSheetPage(parent) {
  const QRect frame = CanvasFrame();
  const QSize needed = QRect(QPoint(0, 0), frame.bottomRight()).marginsAdded(kPageMargins).size();
  setGeometry(QRect(QPoint(0, 0), kPageSize.expandedTo(needed)));
  m_pCanvas = new QFrame(this);
  m_pCanvas->setObjectName(QStringLiteral("1232"));
  m_pCanvas->setFrameShape(QFrame::Box);
  m_pCanvas->setGeometry(frame);
  const QRect canvas = GetCanvasRect();
  m_pTabCtrl = new CTabControl(QRect(canvas.left(), canvas.top(), canvas.width(), kTabStripHeight), this);
  m_pTabCtrl->SetBackgroundColor(m_document.GetFormColor());
  m_pTabCtrl->setObjectName(QStringLiteral("1233"));
  m_pScrollBar = new QScrollBar(Qt::Vertical, this);
  m_pScrollBar->setObjectName(QStringLiteral("1271"));
  m_pScrollBar->setGeometry(frame.right() + 2, canvas.top(), kScrollBarWidth, canvas.height());
  m_pScrollBar->setPageStep(canvas.height());
  m_pScrollBar->setRange(0, 0);
  m_pRadioGroupList = new QComboBox(this);
  m_pRadioGroupList->setObjectName(QStringLiteral("1256"));
  m_pRadioGroupList->setGeometry(20, 400, 200, 24);
  m_pRadioGroupList->hide();  // shown while a radio button is selected
  m_pProperties = new CDesignerProperties(*this);
  if (const std::optional<QColor> skin = canvas::SkinFormColor(RegisteredDeviceType())) SetFormColor(*skin);
  m_pDesignerCanvas = new CDesignerCanvas(this);
  // The grids follow the canvas: an edit being typed ends before the selection moves on.
  connect(m_pDesignerCanvas, &CDesignerCanvas::SelectionChanging, m_pProperties,
          &CDesignerProperties::CommitPendingEdits);
  connect(m_pDesignerCanvas, &CDesignerCanvas::ControlSelected, m_pProperties,
          &CDesignerProperties::ShowControlProperties);
  // Both grids follow a tab switch: the tab's own title and the control it has selected.
  connect(m_pDesignerCanvas, &CDesignerCanvas::TabSwitched, m_pProperties, [this] {
    m_pProperties->SetTabCtrlProp();
    m_pProperties->ShowControlProperties(m_pDesignerCanvas->GetSelectedControl());
  });
  m_pToolbox = new CDesignerToolbox(this, kToolboxTopLeft);
  connect(m_pToolbox, &CDesignerToolbox::EntryClicked, this, &CFormDesignerDlg::SetCtrlStatus);
  m_pCanvasTitle = CreateDesignerPageControls(*this, *m_pDesignerCanvas, RegisteredDeviceType());
}

// The canvas watches the page's events; it goes first so that it never sees a page being torn down.
CFormDesignerDlg::~CFormDesignerDlg() { delete m_pDesignerCanvas; }

void CFormDesignerDlg::OnInitDialog() {
  Log(-1, QStringLiteral("<FormDesignerDlg> Start OnInitDialog."));
  SetControl();
  m_document.BuildActionList(m_document.GetProfileType());
  ShowFormName();
  if (m_document.IsEditMode()) {
    m_document.KeepEditedTitle();
    LoadFormTabs();
  } else {
    AddPage();
  }
  m_pDesignerCanvas->Reset();
  ApplyFormFontSize();
  m_pProperties->CreatePropertiesCtrls();
  Log(-1, QStringLiteral("<FormDesignerDlg> End OnInitDialog."));
}

void CFormDesignerDlg::SetControl() {
  const DeviceType device = RegisteredDeviceType();
  if (device == DeviceType::IPhone) Log(-1, QStringLiteral("<FormDesignerDlg> <SetControl> Device Type : IPhone"));
  if (device == DeviceType::IPad) Log(-1, QStringLiteral("<FormDesignerDlg> <SetControl> Device Type : IPad"));
  m_tabCanvases.clear();
  for (int tab = 0; tab < canvas::kMaxTabs; ++tab) CanvasOf(tab);
  m_pScrollBar->setRange(0, 0);
}

void CFormDesignerDlg::ShowFormName() { m_pCanvasTitle->setText(m_document.GetFormInfo().GetFormName()); }

void CFormDesignerDlg::ApplyFormFontSize() {
  QFont font(QStringLiteral("Verdana"));
  font.setPointSize(qMax(1, m_document.GetFormInfo().FontSize));
  m_pCanvasTitle->setFont(font);
  m_pTabCtrl->SetTabFontSize(m_document.GetFormInfo().FontSize);
}

void CFormDesignerDlg::OnHelp() { ShowHelpBalloon(kHelpTopic, this, BalloonAnchor::WizardPage); }

void CFormDesignerDlg::DeleteCtrl() { m_pDesignerCanvas->DeleteCtrl(); }

void CFormDesignerDlg::DeletePage() { m_pDesignerCanvas->DeletePage(); }

void CFormDesignerDlg::RemoveTabCanvas(int tabIndex) {
  for (int tab = tabIndex; tab + 1 < canvas::kMaxTabs; ++tab) CanvasOf(tab) = CanvasOf(tab + 1);
  CanvasOf(canvas::kMaxTabs - 1) = CTabCanvas(GetCanvasRect().height());
}

// The tabs of the previous visit go; a form that had any starts again from one empty tab.
void CFormDesignerDlg::RemoveAllTabs() {
  const bool hadTabs = m_document.GetFormInfo().GetTabCount() > 0;
  while (m_document.GetFormInfo().GetTabCount() > 0) {
    m_pTabCtrl->RemoveTab(0);
    m_controlWindows.DropTab(*m_document.GetFormInfo().GetTab(0));
    m_document.GetFormInfo().RemoveFormTab(0);
    RemoveTabCanvas(0);
  }
  if (hadTabs) AddPage();
  m_pTabCtrl->SelectFirstTab();
}

// What was typed for the control selected so far is committed before the grid shows another.
void CFormDesignerDlg::ShowControlProperties(FormControlInfo* control) {
  m_pProperties->CommitPendingEdits();
  m_pProperties->ShowControlProperties(control);
}

bool CFormDesignerDlg::OnFinish() {
  if (!m_pProperties->CommitPendingEdits()) return false;
  CTarnwickApp* app = GetTarnwickApp();
  if (app == nullptr) {
    Log(-1, QStringLiteral("<FormDesignerDlg> <OnFinish> The settings database is not connected."));
    return false;
  }
  const CFormSaver::Target target{m_document.IsEditMode(), m_document.GetFormInfo().FormID, m_document.GetEditedTitle(),
                                  app->GetDefaultUserID()};
  return SaveForm(app->GetSettingsConnection(), target,
                  [this](const ProfileColumns& unmapped, std::vector<FieldDefaultValue>* values) {
                    return AskDefaultValues(unmapped, values);
                  })
      .has_value();
}

// The dialog starts from the values the form holds for the columns and ends with one per column.
bool CFormDesignerDlg::AskDefaultValues(const ProfileColumns& unmapped, std::vector<FieldDefaultValue>* values) {
  std::vector<FieldDefaultRow> rows;
  for (const ProfileColumn& column : unmapped) {
    FieldDefaultRow row{column.Name, column.SqlType, {}};
    for (const FieldDefaultValue& value : *values)
      if (value.FldName == column.Name) row.DefaultValue = value.FldDefValue;
    rows.push_back(row);
  }
  CFormFieldsDefaultValuesDlg dialog(rows, this);
  if (dialog.exec() != QDialog::Accepted) return false;
  values->clear();
  for (const FieldDefaultRow& row : dialog.GetRows()) values->push_back({row.ColumnName, row.DefaultValue});
  return true;
}

bool CFormDesignerDlg::OnSetActive() {
  CWizardSheet* sheet = GetSheet();
  if (m_document.IsEditMode()) {
    if (sheet != nullptr) sheet->SetTitle(QStringLiteral("Form Designer"));
    Log(-1, QStringLiteral("<FormDesignerDlg> OnSetActive Edit Form."));
    m_document.BuildActionList(m_document.GetProfileType());
    return true;
  }
  if (sheet != nullptr) {
    sheet->SetTitle(QStringLiteral("New Form : Form Designer"));
    sheet->ShowButton(CWizardSheet::Button::Back, true);
    sheet->ShowButton(CWizardSheet::Button::Apply, true);
    sheet->ShowButton(CWizardSheet::Button::Next, false);
  }
  Log(-1, QStringLiteral("<FormDesignerDlg> OnSetActive New Form."));
  RemoveAllTabs();
  SetCtrlStatus(-1);
  ShowFormName();
  m_document.GetRadioGroups().clear();
  m_document.GetDefaultValues().clear();
  FillRadioGroupList();
  m_pDesignerCanvas->Reset();
  m_document.BuildActionList(m_document.GetProfileType());
  return true;
}

QRect CFormDesignerDlg::GetCanvasRect() const {
  return m_pCanvas->geometry().marginsRemoved(kCanvasFrameBorder);
}

void CFormDesignerDlg::SetFormColor(const QColor& color) {
  m_document.SetFormColor(color);
  m_pTabCtrl->SetBackgroundColor(color);
  QPalette scrollBar = m_pScrollBar->palette();
  scrollBar.setColor(QPalette::Window, color);
  m_pScrollBar->setPalette(scrollBar);
  m_pCanvas->update();
}

CTabCanvas& CFormDesignerDlg::CanvasOf(int tabIndex) {
  return m_tabCanvases.try_emplace(tabIndex, GetCanvasRect().height()).first->second;
}

int CFormDesignerDlg::GetTabScrollMax(int tabIndex) const {
  const auto found = m_tabCanvases.find(tabIndex);
  return found == m_tabCanvases.end() ? GetCanvasRect().height() : found->second.Reach();
}

void CFormDesignerDlg::SetCtrlStatus(int type) {
  const int armed = m_nArmedType;
  m_nArmedType = 0;
  m_pToolbox->ShowArmed(0);
  if (type == armed || type < kLabel || type > kConditionalField) return;
  const std::optional<ArmRefusal> refusal = m_document.Mapping().CheckArming(type);
  if (refusal) {
    platform::MessageBox(this, refusal->Message, ProgramTitle(), platform::MB_OK | platform::MB_ICONINFORMATION);
    Log(-1, refusal->LogText());
    return;
  }
  m_nArmedType = type;
  m_pToolbox->ShowArmed(type);
}

void CFormDesignerDlg::AddPage() {
  if (m_document.GetFormInfo().GetTabCount() >= canvas::kMaxTabs) {
    platform::MessageBox(this, canvas::TooManyTabsMessage(), ProgramTitle(),
                         platform::MB_OK | platform::MB_ICONINFORMATION);
    Log(-1, QStringLiteral("<FormDesignerDlg> <AddPage> ") + canvas::kTooManyTabs);
    return;
  }
  const QString title = m_document.GetFormInfo().ProfileName;
  m_pTabCtrl->AddTab(title);
  m_document.GetFormInfo().AddFormTab(m_document.GetFormInfo().GetTabCount(), title);
  m_pTabCtrl->SetTabFontSize(m_document.GetFormInfo().FontSize);
  m_pProperties->SetTabCtrlProp();
  Log(-1, QStringLiteral("<FormDesignerDlg> <AddPage> Tab Title \"%1\".").arg(title));
}

QString CFormDesignerDlg::FirstFreeAction() const {
  const QStringList free = m_document.Mapping().FreeActions();
  return free.isEmpty() ? QString() : free.first();
}

int CFormDesignerDlg::DeviceFontOffset() const { return ::DeviceFontOffset(RegisteredDeviceType()); }

void CFormDesignerDlg::Log(int code, const QString& text) const { WriteAppLog(code, text); }

void CFormDesignerDlg::PlaceCtrl(FormControlInfo* control, int left, int top, int right, int bottom) {
  if (control->Type < kLabel || control->Type > kConditionalField) return;
  auto* window = new CControlButton(control->Type, this);
  window->setGeometry(left, top, right - left, bottom - top);
  m_controlWindows.Place(*control, window);
  SetNewControlDefaults(control, FirstFreeAction());
  ShowNewControl(*control, window);
  window->show();
  Log(-1, QStringLiteral("<FormDesignerDlg> <PlaceCtrl> CtrlType : %1").arg(control->Type));
}

void CFormDesignerDlg::ShowNewControl(const FormControlInfo& control, CControlButton* window) const {
  window->SetFontFace(control.FontFace);
  window->SetFontSize(control.FontSize);
  window->SetFontStyle(control.FontStyle);
  window->SetBackgroundColor(m_document.GetFormColor());
  switch (control.Type) {
    case kLabel:
    case kDateTime:
      window->SetWindowText(control.Caption);
      break;
    case kCheckBox:
      window->SetWindowText(QStringLiteral("Check"));
      break;
    case kButton:
      window->SetWindowText(control.Caption);
      window->SetBackgroundColor(QColor(control.BgR, control.BgG, control.BgB));
      window->SetTextColor(QColor(control.TxtR, control.TxtG, control.TxtB));
      break;
    default:
      break;
  }
}

void CFormDesignerDlg::ExtendTabCanvas(int tabIndex, const QRect& canvasRect, const QRect& controlRect) {
  if (canvasRect.height() <= 0) return;
  CTabCanvas& canvas = CanvasOf(tabIndex);
  canvas.ExtendFor(controlRect.bottom() + 1 - canvasRect.top());
  if (tabIndex != 0) return;
  m_pScrollBar->setRange(0, canvas.MaxPosition());
  m_pScrollBar->setValue(0);
}

bool CFormDesignerDlg::ConstructFormInfo(QString* text, QString* error) {
  return m_document.WriteFormText(m_pCanvas->size(), DeviceFontOffset(), text, error);
}

bool CFormDesignerDlg::ConstructTabInfo(int tabIndex, QString* text, QString* error) {
  return m_document.WriteTabText(tabIndex, m_controlWindows, GetCanvasRect(), DeviceFontOffset(), text, error);
}

std::optional<int32_t> CFormDesignerDlg::SaveForm(admin::CDatabseConnection& settings, const CFormSaver::Target& target,
                                                  const CFormSaver::AskDefaultValues& ask) {
  CFormSaver saver(
      settings, m_document, target, ask,
      [this](QString* text, QString* error) { return ConstructFormInfo(text, error); },
      [this](int tab, QString* text, QString* error) { return ConstructTabInfo(tab, text, error); });
  return saver.Save();
}

bool CFormDesignerDlg::RetrieveFormInfo() {
  const bool whole = m_document.ReadFormText(DeviceFontOffset());
  FillRadioGroupList();
  SetFormColor(m_document.GetFormColor());
  return whole;
}

void CFormDesignerDlg::FillRadioGroupList() {
  m_pRadioGroupList->clear();
  for (const RadioGroupInfo& group : m_document.GetRadioGroups()) m_pRadioGroupList->addItem(group.Name);
  if (m_pRadioGroupList->count() > 0) m_pRadioGroupList->setCurrentIndex(0);
}

bool CFormDesignerDlg::RetrieveTabInfo(int tabIndex, const QString& title, const QString& text) {
  const QRect canvas = GetCanvasRect();
  const int fontOffset = DeviceFontOffset();
  QStringList problems;
  const std::vector<StoredControl> controls = FormDocument::ReadTabText(text, &problems);
  FormInfo& form = m_document.GetFormInfo();
  if (const FormTabInfo* replaced = form.GetTab(tabIndex)) m_controlWindows.DropTab(*replaced);
  if (!form.AddFormTab(tabIndex, title)) {
    Log(-1, kRetrieveTab.toString() + QStringLiteral("Tab %1 cannot follow the %2 tabs read so far.")
                               .arg(tabIndex).arg(form.GetTabCount()));
    return false;
  }
  FormTabInfo* tab = form.GetTab(tabIndex);
  Log(-1, QStringLiteral("<FormDesignerDlg> <RetreveTabInfo> Tab Title : ") + title);
  for (const StoredControl& stored : controls) {
    const int32_t fontSize = FormDocument::DesignerFontSize(stored.Properties.FontSize, fontOffset);
    LogStoredControl(kRetrieveTab, stored, fontSize, false);
    auto control = std::make_unique<FormControlInfo>();
    control->Type = stored.Properties.Type;
    const QRect rect(canvas.left() + WindowCoordinate(stored.X), canvas.top() + WindowCoordinate(stored.Y),
                     WindowExtent(stored.Width), WindowExtent(stored.Height));
    PlaceCtrl(control.get(), rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height());
    static_cast<FormControlProperties&>(*control) = stored.Properties;
    control->FontSize = fontSize;
    ApplyStoredControl(control.get());
    tab->AddControl(std::move(control));
    ExtendTabCanvas(tabIndex, canvas, rect);
  }
  for (const QString& problem : problems) Log(-1, kRetrieveTab.toString() + problem);
  return problems.isEmpty();
}

void CFormDesignerDlg::ApplyStoredControl(FormControlInfo* control) const {
  auto* window = qobject_cast<CControlButton*>(WindowOf(*control));
  if (window == nullptr) return;
  window->hide();
  ShowControlValues(*control, window);
}

bool CFormDesignerDlg::LoadFormTabs(const std::vector<FormDetailsRow>& rows) {
  bool whole = RetrieveFormInfo();
  for (size_t i = 0; i < rows.size(); ++i) {
    const int tabIndex = static_cast<int>(i);
    const FormDetailsRow& row = rows[i];
    if (row.TabID != tabIndex)
      Log(-1, QStringLiteral("<FormDesignerDlg> <LoadFormTabs> The tab stored with TabID %1 is read as tab %2.")
                  .arg(row.TabID).arg(tabIndex));
    m_pTabCtrl->AddTab(row.TabTitle);
    whole = RetrieveTabInfo(tabIndex, row.TabTitle, row.TabFormInfo) && whole;
  }
  m_pTabCtrl->SelectFirstTab();
  return whole;
}

bool CFormDesignerDlg::LoadFormTabs() {
  std::vector<FormDetailsRow> rows;
  const bool read = ReadFormDetails(&rows);
  return LoadFormTabs(rows) && read;
}

bool CFormDesignerDlg::ReadFormDetails(std::vector<FormDetailsRow>* rows) const {
  CTarnwickApp* app = GetTarnwickApp();
  if (app == nullptr || !app->GetSettingsConnection().IsConnected()) {
    Log(-1, QStringLiteral("<FormDesignerDlg> <LoadFormTabs> The settings database is not connected."));
    return false;
  }
  admin::CDatabaseHandler tabs;
  tabs.SetWholeTextFlag(true);  // a tab text is read however long it is, never cut
  const QString sql = QStringLiteral("Select TabID, TabTitle, TabFormInfo From %1 Where FormID = %2 Order by TabID")
                          .arg(settingsdb::kFormDetails)
                          .arg(m_document.GetFormInfo().FormID);
  if (tabs.ExecuteQuery(app->GetSettingsConnection(), sql) == 0) {
    Log(-1, QStringLiteral("<FormDesignerDlg> <LoadFormTabs> ") + tabs.GetOdbcErrorText());
    return false;
  }
  for (int32_t row = 0; tabs.FetchNext(row); ++row)
    rows->push_back({m_document.GetFormInfo().FormID, taggedtext::ToInt(tabs.GetFieldValue(row, 0)),
                     tabs.GetFieldValue(row, 1), tabs.GetFieldValue(row, 2)});
  return true;
}
