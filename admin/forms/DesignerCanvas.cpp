#include "admin/forms/DesignerCanvas.h"

#include "admin/forms/CanvasGeometry.h"
#include "admin/forms/FormDesignerDlg.h"
#include "admin/forms/FormDocument.h"
#include "admin/forms/FormMapping.h"
#include "admin/forms/RadioGroups.h"
#include "admin/foundation/AppLog.h"
#include "admin/shell/ControlButton.h"
#include "admin/shell/TabControl.h"
#include "platform/widgets/MessageBox.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextEdit>

#include <vector>

namespace {

// The window of the control on the page; null without a control or a window.
QWidget* WindowOf(const CFormDesignerDlg& page, const FormControlInfo* control) {
  return control != nullptr ? page.WindowOf(*control) : nullptr;
}

std::vector<QRect> PreviewRects(const CFormDesignerDlg& page, const FormTabInfo* tab) {
  std::vector<QRect> rects;
  if (tab == nullptr) return rects;
  for (int i = 0; i < tab->GetControlCount(); ++i) {
    const QWidget* window = page.WindowOf(*tab->GetControl(i));
    rects.push_back(window != nullptr ? window->geometry() : QRect());
  }
  return rects;
}

int IndexOf(const FormTabInfo* tab, const FormControlInfo* control) {
  for (int i = 0; tab != nullptr && control != nullptr && i < tab->GetControlCount(); ++i)
    if (tab->GetControl(i) == control) return i;
  return -1;
}

bool IsEditBox(const QWidget* widget) {
  return qobject_cast<const QLineEdit*>(widget) != nullptr || qobject_cast<const QAbstractSpinBox*>(widget) != nullptr ||
         qobject_cast<const QTextEdit*>(widget) != nullptr || qobject_cast<const QPlainTextEdit*>(widget) != nullptr;
}

// An edit box of a property grid takes the keys itself while it is open.
bool EditBoxHasKeys(const QWidget* receiver) { return IsEditBox(receiver) || IsEditBox(QApplication::focusWidget()); }

bool IsArrow(int key) { return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down; }

}  // namespace

CDesignerCanvas::CDesignerCanvas(CFormDesignerDlg* page)
    : QObject(page), m_pPage(page), m_document(page->GetDocument()), m_pTracker(new CControlTracker(page)) {
  // The canvas frame lets clicks through to the page, which hit-tests the previews.
  page->GetCanvas()->setAttribute(Qt::WA_TransparentForMouseEvents);
  page->GetCanvas()->installEventFilter(this);
  page->installEventFilter(this);
  qApp->installEventFilter(this);
  connect(page->GetTabControl(), &CTabControl::TabSelChange, this, &CDesignerCanvas::OnTabSelChange);
  QScrollBar* bar = page->GetScrollBar();
  bar->setSingleStep(1);
  connect(bar, &QScrollBar::valueChanged, this, &CDesignerCanvas::ScrollTo);
}

FormTabInfo* CDesignerCanvas::CurrentTab() const { return m_document.GetFormInfo().GetTab(m_nCurrentTab); }

FormControlInfo* CDesignerCanvas::GetSelectedControl() const {
  const auto found = m_selected.find(CurrentTab());
  return found == m_selected.end() ? nullptr : found->second;
}

bool CDesignerCanvas::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_pPage->GetCanvas() && event->type() == QEvent::Paint) {
    QPainter painter(m_pPage->GetCanvas());
    painter.fillRect(m_pPage->GetCanvasRect().translated(-m_pPage->GetCanvas()->pos()), m_document.GetFormColor());
    return false;
  }
  if (event->type() == QEvent::KeyPress) return OnKey(qobject_cast<QWidget*>(watched), event);
  return watched == m_pPage && OnMouse(event);
}

bool CDesignerCanvas::OnMouse(QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      const QPoint point = mouse->position().toPoint();
      if (mouse->button() != Qt::LeftButton || OnTabStrip(point)) return false;
      if (m_pPage->GetArmedType() != 0) m_pPage->setCursor(Qt::CrossCursor);
      PressAt(point);
      return true;
    }
    case QEvent::MouseMove:
      if (m_trackHit == CControlTracker::Hit::None) return false;
      Track(static_cast<QMouseEvent*>(event)->position().toPoint());
      return true;
    case QEvent::MouseButtonRelease:
      m_pPage->unsetCursor();
      if (m_trackHit == CControlTracker::Hit::None) return false;
      Track(static_cast<QMouseEvent*>(event)->position().toPoint());
      EndTracking();
      return true;
    default:
      return false;
  }
}

bool CDesignerCanvas::OnKey(const QWidget* receiver, QEvent* event) {
  if (receiver == nullptr || !m_pPage->isVisible() || receiver->window() != m_pPage->window() || EditBoxHasKeys(receiver))
    return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() == Qt::Key_Delete) {
    DeleteCtrl();
    return true;
  }
  const FormControlInfo* control = GetSelectedControl();
  const QWidget* window = WindowOf(*m_pPage, control);
  if (!IsArrow(key->key()) || window == nullptr) return false;
  const bool shift = key->modifiers().testFlag(Qt::ShiftModifier);
  if (const std::optional<QRect> moved =
          canvas::MoveByKey(control->Type, window->geometry(), key->key(), shift, m_pPage->GetCanvasRect()))
    MoveSelected(*moved);
  return true;
}

// The strip lies over the canvas's top; a press on its free part is not one on the canvas.
bool CDesignerCanvas::OnTabStrip(const QPoint& point) const {
  const QWidget* strip = m_pPage->GetTabControl();
  const QWidget* under = m_pPage->childAt(point);
  return under != nullptr && (under == strip || strip->isAncestorOf(under));
}

void CDesignerCanvas::PressAt(const QPoint& point) {
  Q_EMIT SelectionChanging();
  if (m_pPage->GetArmedType() != 0) {
    Place(point);
    return;
  }
  // A handle stands outside the control's reach for selecting: it keeps the selection.
  const CControlTracker::Hit hit = m_pTracker->HitTest(point);
  if (hit == CControlTracker::Hit::None || hit == CControlTracker::Hit::Inside) {
    const FormTabInfo* tab = CurrentTab();
    const int index = canvas::HitTest(point, PreviewRects(*m_pPage, tab));
    Select(index >= 0 ? tab->GetControl(index) : nullptr);
  }
  BeginTracking(point);
}

void CDesignerCanvas::Place(const QPoint& point) {
  const int type = m_pPage->GetArmedType();
  FormTabInfo* tab = CurrentTab();
  const std::optional<QRect> rect = canvas::PlacementRect(point, m_pPage->GetCanvasRect(), PreviewRects(*m_pPage, tab));
  if (rect && tab != nullptr) {
    auto control = std::make_unique<FormControlInfo>();
    control->Type = type;
    m_pPage->PlaceCtrl(control.get(), rect->left(), rect->top(), rect->right() + 1, rect->bottom() + 1);
    if (type != kRadioButton || JoinRadioGroup(control.get())) {
      FormControlInfo* placed = tab->GetControl(tab->AddControl(std::move(control)));
      Select(placed);
      GrowFor(*rect);
      Q_EMIT ControlPlaced(placed);
    } else {
      m_pPage->GetControlWindows().Drop(*control);
    }
  }
  RepaintCanvas();
  m_pPage->SetCtrlStatus(-1);
}

bool CDesignerCanvas::JoinRadioGroup(FormControlInfo* radio) {
  const QStringList free = m_document.Mapping().FreeColumns(kRadioButton);
  if (const std::optional<Refusal> refused = m_document.RadioGroups().JoinNewRadioButton(radio, free)) {
    platform::MessageBox(m_pPage, refused->Message, ProgramTitle(),
                         platform::MB_OK | (refused->ErrorIcon ? platform::MB_ICONERROR : platform::MB_ICONINFORMATION));
    return false;
  }
  if (auto* window = qobject_cast<CControlButton*>(m_pPage->WindowOf(*radio))) window->SetWindowText(radio->Caption);
  m_pPage->FillRadioGroupList();
  return true;
}

void CDesignerCanvas::Select(FormControlInfo* control) {
  m_selected[CurrentTab()] = control;
  if (const QWidget* window = WindowOf(*m_pPage, control))
    m_pTracker->SetControlRect(window->geometry());
  else
    m_pTracker->Clear();
  RepaintCanvas();
  Q_EMIT ControlSelected(control);
}

void CDesignerCanvas::BeginTracking(const QPoint& point) {
  m_trackHit = m_pTracker->HitTest(point);
  m_trackStart = point;
  m_trackStartRect = m_pTracker->TrackerRect();
}

void CDesignerCanvas::Track(const QPoint& point) {
  m_pTracker->ShowTrackerRect(CControlTracker::Dragged(m_trackStartRect, m_trackHit, point - m_trackStart));
}

void CDesignerCanvas::EndTracking() {
  m_trackHit = CControlTracker::Hit::None;
  const QRect wanted = m_pTracker->ControlRect();
  const QWidget* window = WindowOf(*m_pPage, GetSelectedControl());
  if (window == nullptr) return;
  if (wanted != window->geometry() && MoveSelected(wanted)) return;
  m_pTracker->SetControlRect(window->geometry());
  RepaintCanvas();
}

bool CDesignerCanvas::MoveSelected(const QRect& rect) {
  FormControlInfo* control = GetSelectedControl();
  QWidget* window = WindowOf(*m_pPage, control);
  if (window == nullptr) return false;
  if (!canvas::Fits(control->Type, rect, m_pPage->GetCanvasRect())) return false;
  window->setGeometry(rect);
  m_pTracker->SetControlRect(rect);
  GrowFor(rect);
  RepaintCanvas();
  Q_EMIT ControlMoved(control);
  return true;
}

void CDesignerCanvas::GrowFor(const QRect& controlRect) {
  const FormTabInfo* tab = CurrentTab();
  if (tab == nullptr) return;
  const int bottom = controlRect.bottom() + 1 - m_pPage->GetCanvasRect().top();
  if (m_pPage->CanvasOf(m_nCurrentTab).GrowForControl(tab->VerticalOffset, bottom)) SyncScrollBar();
}

void CDesignerCanvas::SyncScrollBar() {
  const FormTabInfo* tab = CurrentTab();
  QScrollBar* bar = m_pPage->GetScrollBar();
  const QSignalBlocker blocker(bar);
  bar->setRange(0, m_pPage->CanvasOf(m_nCurrentTab).MaxPosition());
  bar->setValue(tab != nullptr ? tab->VerticalOffset : 0);
}

void CDesignerCanvas::ScrollTo(int position) {
  FormTabInfo* tab = CurrentTab();
  if (tab == nullptr) return;
  const int offset = CTabCanvas::ScrollTo(position);
  ShiftPreviews(tab->VerticalOffset - offset);
  tab->VerticalOffset = offset;
  RepaintCanvas();
}

void CDesignerCanvas::ScrollDown() {
  if (const FormTabInfo* tab = CurrentTab()) {
    ScrollTo(CTabCanvas::ScrollDown(tab->VerticalOffset));
    SyncScrollBar();
  }
}

void CDesignerCanvas::ScrollUp() {
  if (const FormTabInfo* tab = CurrentTab()) {
    ScrollTo(CTabCanvas::ScrollUp(tab->VerticalOffset));
    SyncScrollBar();
  }
}

void CDesignerCanvas::ShiftPreviews(int dy) {
  const FormTabInfo* tab = CurrentTab();
  for (int i = 0; tab != nullptr && dy != 0 && i < tab->GetControlCount(); ++i)
    if (QWidget* window = m_pPage->WindowOf(*tab->GetControl(i))) window->move(window->x(), window->y() + dy);
}

void CDesignerCanvas::RepaintCanvas() {
  const QRect canvas = m_pPage->GetCanvasRect();
  const FormInfo& form = m_document.GetFormInfo();
  for (int t = 0; t < form.GetTabCount(); ++t) {
    const FormTabInfo* tab = form.GetTab(t);
    for (int i = 0; i < tab->GetControlCount(); ++i)
      if (QWidget* window = m_pPage->WindowOf(*tab->GetControl(i)))
        window->setVisible(t == m_nCurrentTab && canvas.contains(window->geometry()));
  }
  if (const QWidget* window = WindowOf(*m_pPage, GetSelectedControl())) m_pTracker->SetControlRect(window->geometry());
  m_pTracker->setVisible(m_pTracker->IsActive() && canvas.contains(m_pTracker->TrackerRect()));
  // Controls placed high on the canvas pass under the tab strip, never over it.
  m_pPage->GetTabControl()->raise();
  m_pTracker->raise();
  m_pPage->GetCanvas()->update();
}

void CDesignerCanvas::SwitchTab(int tabIndex) {
  if (m_document.GetFormInfo().GetTab(tabIndex) == nullptr) return;
  Q_EMIT SelectionChanging();
  m_nCurrentTab = tabIndex;
  if (const QWidget* window = WindowOf(*m_pPage, GetSelectedControl()))
    m_pTracker->SetControlRect(window->geometry());
  else
    m_pTracker->Clear();
  SyncScrollBar();
  RepaintCanvas();
  Q_EMIT TabSwitched(tabIndex);
}

void CDesignerCanvas::OnTabSelChange(int id) {
  const CTabControl* strip = m_pPage->GetTabControl();
  for (int i = 0; i < strip->GetTabCount(); ++i)
    if (strip->GetTabId(i) == id) SwitchTab(i);
}

void CDesignerCanvas::Reset() {
  m_selected.clear();
  m_pTracker->Clear();
  m_nCurrentTab = 0;
  SyncScrollBar();
  RepaintCanvas();
}

void CDesignerCanvas::DeleteCtrl() {
  Q_EMIT SelectionChanging();
  const int answer = platform::MessageBox(m_pPage, QStringLiteral("Are you sure to Delete Selected Control ?"),
                                          ProgramTitle(),
                                          platform::MB_YESNO | platform::MB_ICONINFORMATION | platform::MB_DEFBUTTON2);
  if (answer != platform::IDYES) return;
  WriteAppLog(-1, QStringLiteral("<FormDesignerDlg> <DeleteCtrl> Start."));
  FormTabInfo* tab = CurrentTab();
  FormControlInfo* control = GetSelectedControl();
  const int index = IndexOf(tab, control);
  if (index >= 0) {
    WriteAppLog(-1, QStringLiteral("<FormDesignerDlg> <DeleteCtrl> Selected Ctrl's Type %1.").arg(control->Type));
    if (control->Type == kRadioButton) {
      m_document.RadioGroups().Leave(*control);
      m_pPage->FillRadioGroupList();
    }
    m_selected.erase(tab);
    m_pTracker->Clear();
    m_pPage->GetControlWindows().Drop(*control);
    tab->RemoveControl(index);
    Q_EMIT ControlSelected(nullptr);
    Q_EMIT ControlDeleted();
  }
  RepaintCanvas();
  WriteAppLog(-1, QStringLiteral("<FormDesignerDlg> <DeleteCtrl> End."));
}

void CDesignerCanvas::DeletePage() {
  FormInfo& form = m_document.GetFormInfo();
  FormTabInfo* tab = CurrentTab();
  if (tab == nullptr) return;
  Q_EMIT SelectionChanging();
  WriteAppLog(-1, QStringLiteral("<FormDesignerDlg> <DeletePage> Selected Tab's Title \"%1\".").arg(tab->GetFormTabTitle()));
  m_document.RadioGroups().LeaveTab(*tab);
  m_pPage->FillRadioGroupList();
  m_selected.erase(tab);
  const int removed = m_nCurrentTab;
  m_pPage->GetTabControl()->RemoveTab(removed);
  m_pPage->GetControlWindows().DropTab(*tab);
  form.RemoveFormTab(removed);
  m_pPage->RemoveTabCanvas(removed);
  if (form.GetTabCount() == 0) m_pPage->AddPage();
  m_pPage->GetTabControl()->SelectFirstTab();
  SwitchTab(0);
}
