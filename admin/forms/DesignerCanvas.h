#pragma once

#include "admin/forms/ControlTracker.h"

#include <QObject>
#include <QPoint>
#include <QRect>

#include <map>

class CFormDesignerDlg;
class FormDocument;
class FormTabInfo;
struct FormControlInfo;

// What the user does on the designer page's canvas: placing an armed control type with a
// click, selecting a preview (the last one near the point wins), dragging and resizing it with
// the tracker, moving and resizing it with the arrow keys, deleting it, switching, adding and
// deleting tabs, scrolling, and which previews show. The previews ignore the mouse; the canvas
// hit-tests and paints for them. Each tab remembers its selected control.
class CDesignerCanvas : public QObject {
  Q_OBJECT

 public:
  explicit CDesignerCanvas(CFormDesignerDlg* page);

  int GetCurrentTab() const { return m_nCurrentTab; }
  FormTabInfo* CurrentTab() const;
  // The selected control of the current tab; null when none is.
  FormControlInfo* GetSelectedControl() const;
  CControlTracker* GetTracker() const { return m_pTracker; }

  // A press at the page point: places the armed type there, else selects.
  void PressAt(const QPoint& point);
  // Selects the control (of the current tab) or nothing, and frames it.
  void Select(FormControlInfo* control);
  // Asks, then deletes the selected control; with none selected nothing is removed.
  void DeleteCtrl();
  // Deletes the current tab with its controls; a form keeps one tab, so a new one replaces
  // the last. The first tab becomes current.
  void DeletePage();
  // Makes the tab at the index current: its previews show, the others hide.
  void SwitchTab(int tabIndex);
  // Forgets every tab's selection and makes tab 0 current (a form emptied or reloaded).
  void Reset();
  // "V" scrolls the current tab 5 pixels down, "A" 5 up but not above its top; the stored
  // positions stay.
  void ScrollDown();
  void ScrollUp();
  // The scroll bar moved to the position.
  void ScrollTo(int position);
  // Shows the previews of the current tab that lie wholly inside the canvas, hides every
  // other, and frames the selected one when it shows.
  void RepaintCanvas();
  // The scroll bar takes the current tab's reach and offset.
  void SyncScrollBar();

 Q_SIGNALS:
  // The selection or the current tab is about to change (a press on the page, a tab switch, a
  // deletion): an edit being typed for the old one ends now.
  void SelectionChanging();
  // A control was selected, or (null) none is.
  void ControlSelected(FormControlInfo* control);
  // The control's rectangle changed (drag, resize or key).
  void ControlMoved(FormControlInfo* control);
  // A control was placed on the current tab.
  void ControlPlaced(FormControlInfo* control);
  // The selected control was deleted.
  void ControlDeleted();
  // The tab at the index became the current one.
  void TabSwitched(int tabIndex);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool OnMouse(QEvent* event);
  bool OnTabStrip(const QPoint& point) const;
  // Keys sent to any window of the page's dialog, unless an edit box has the focus.
  bool OnKey(const QWidget* receiver, QEvent* event);
  void Place(const QPoint& point);
  // A RadioButton placed on the canvas joins the form's first group; false, after the
  // message, when no group can take it.
  bool JoinRadioGroup(FormControlInfo* radio);
  void BeginTracking(const QPoint& point);
  void Track(const QPoint& point);
  void EndTracking();
  // Moves the selected control to the rectangle when it fits the canvas and its type's limits.
  bool MoveSelected(const QRect& rect);
  void GrowFor(const QRect& controlRect);
  void ShiftPreviews(int dy);
  void OnTabSelChange(int id);
  void ShowTabPreviews(int tabIndex, bool show);

  CFormDesignerDlg* m_pPage;
  FormDocument& m_document;
  CControlTracker* m_pTracker;
  int m_nCurrentTab = 0;
  std::map<const FormTabInfo*, FormControlInfo*> m_selected;
  CControlTracker::Hit m_trackHit = CControlTracker::Hit::None;
  QPoint m_trackStart;
  QRect m_trackStartRect;
};
