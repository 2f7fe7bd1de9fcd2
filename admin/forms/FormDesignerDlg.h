#pragma once

#include "admin/forms/ControlWindows.h"
#include "admin/forms/FormDocument.h"
#include "admin/forms/FormSaver.h"
#include "admin/forms/TabCanvas.h"
#include "admin/shell/WizardSheetPage.h"
#include "shared/data/FormDetailsRow.h"

#include <QColor>
#include <QRect>
#include <QString>

#include <cstdint>
#include <map>
#include <vector>

class CControlButton;
class CDesignerCanvas;
class CDesignerProperties;
class CDesignerToolbox;
class QLabel;
class CTabControl;
class QComboBox;
class QFrame;
class QScrollBar;

// The form designer page: a view of its form document (the form with its tabs and controls,
// radio groups and default values), the canvas on which the control previews lie, the tab strip
// over it and the toolbox. It has the document write the form to its stored tagged texts and
// read it back, placing a preview window for each control read. The new-form wizard hands the
// document the mode, the form (for an edit its FormID and FormText) with its name and profile
// name, and the profile's number, kind and columns.
class CFormDesignerDlg : public CWizardSheetPage {
  Q_OBJECT

 public:
  explicit CFormDesignerDlg(QWidget* parent = nullptr);
  ~CFormDesignerDlg() override;

  // The form this page designs; the page shows it and edits it.
  FormDocument& GetDocument() { return m_document; }
  const FormDocument& GetDocument() const { return m_document; }

  // An edited form is read from its stored texts once, before the page is first shown.
  void OnInitDialog() override;
  // The sheet's title and buttons for the mode: a new form is finished here (Back and Apply);
  // a new form starts again from one empty tab. The action list follows the profile's kind.
  bool OnSetActive() override;
  void OnHelp() override;
  // Finish: the pending edit of a grid is committed, then the form is stored (OnFinish).
  bool OnWizardFinish() override { return OnFinish(); }
  // True when the form was stored; false keeps the page open (refused, or not stored).
  bool OnFinish();

  // The property grids; the control grid follows the selected control (null: none) once a
  // pending edit of the grids is committed, so the control selected before must still exist.
  CDesignerProperties* GetProperties() const { return m_pProperties; }
  void ShowControlProperties(FormControlInfo* control);
  // Lists the radio groups and selects the first.
  void FillRadioGroupList();

  // The windows that show the form's controls on the canvas.
  ControlWindows& GetControlWindows() { return m_controlWindows; }
  const ControlWindows& GetControlWindows() const { return m_controlWindows; }
  // The window of the control; null when it has none.
  QWidget* WindowOf(const FormControlInfo& control) const { return m_controlWindows.Get(control); }
  // The form's colour, on the form and on the canvas, the tab strip and the scroll bar.
  void SetFormColor(const QColor& color);
  CTabControl* GetTabControl() const { return m_pTabCtrl; }
  QComboBox* GetRadioGroupList() const { return m_pRadioGroupList; }
  QScrollBar* GetScrollBar() const { return m_pScrollBar; }
  QFrame* GetCanvas() const { return m_pCanvas; }
  // The canvas window's rectangle less its frame: 2 pixels off the left, right and bottom and
  // 10 off the top, in the page's coordinates. Controls are placed and measured against it.
  QRect GetCanvasRect() const;
  // How far down the tab's canvas can be scrolled at most, in pixels from the canvas top.
  int GetTabScrollMax(int tabIndex) const;

  // Arms the toolbox for the type (1 to 9) or disarms it (-1, or the armed type again); a type
  // with nothing left to map is refused with its message and log line, and nothing is armed.
  void SetCtrlStatus(int type);
  // The armed type; 0 when none is.
  int GetArmedType() const { return m_nArmedType; }
  // Adds a tab titled with the profile name to the form and the strip; a form has four at most.
  void AddPage();
  // Asks, then deletes the selected control of the current tab.
  void DeleteCtrl();
  // Deletes the current tab; the form keeps at least one.
  void DeletePage();
  // What happens on the canvas: selection, moves, placing, deleting, tab switches.
  CDesignerCanvas* GetDesignerCanvas() const { return m_pDesignerCanvas; }
  CDesignerToolbox* GetToolbox() const { return m_pToolbox; }
  // The canvas title shows the form's name.
  void ShowFormName();
  QLabel* GetCanvasTitle() const { return m_pCanvasTitle; }
  // The canvas title and the tab strip take the form's font size.
  void ApplyFormFontSize();
  // The scroll reach of the tab's canvas.
  CTabCanvas& CanvasOf(int tabIndex);
  // The tab's canvas record goes; those of the later tabs move down one index.
  void RemoveTabCanvas(int tabIndex);

  // Creates the preview window of the control's type at the rectangle (page coordinates),
  // gives the control a new control's defaults and keeps the window in the record. Types
  // outside 1 to 9 get no window.
  void PlaceCtrl(FormControlInfo* control, int left, int top, int right, int bottom);
  // Grows the tab's scrollable height until the control (page coordinates) fits with 100
  // pixels to spare below it; for tab 0 the scroll bar follows.
  void ExtendTabCanvas(int tabIndex, const QRect& canvasRect, const QRect& controlRect);

  // The form-level text, for this page's canvas and device. False, with the reason in `error`,
  // when a text of the form could not be stored as it is.
  bool ConstructFormInfo(QString* text, QString* error);
  // The text of the tab at the index; false with the reason as above, or for no such tab.
  bool ConstructTabInfo(int tabIndex, QString* text, QString* error);
  // Stores the form (new, or in place of the stored one the target names) on the settings
  // connection; the identifier it was stored under, nothing when it was refused or failed.
  std::optional<int32_t> SaveForm(admin::CDatabseConnection& settings, const CFormSaver::Target& target,
                                  const CFormSaver::AskDefaultValues& ask);
  // Reads the form's stored form-level text (the form's FormText) into the designer; false
  // when it was not read whole (what was wrong is in the log).
  bool RetrieveFormInfo();
  // Rebuilds one tab from its text and adds it to the form at the index. False when the tab
  // cannot go there or its text was not read whole (what was wrong is in the log).
  bool RetrieveTabInfo(int tabIndex, const QString& title, const QString& text);
  // Opens a stored form: its form-level text, then its tabs in stored order, each added to the
  // tab strip; the first tab ends up selected. Tabs are numbered by their position in `rows`.
  // False when some part of the form could not be read whole.
  bool LoadFormTabs(const std::vector<FormDetailsRow>& rows);
  // As above, with the rows of the form (its FormID) read from the settings database in TabID
  // order; false also when they cannot be read.
  bool LoadFormTabs();

 private:
  bool ReadFormDetails(std::vector<FormDetailsRow>* rows) const;
  void SetControl();
  void RemoveAllTabs();
  int DeviceFontOffset() const;
  void Log(int code, const QString& text) const;
  QString FirstFreeAction() const;
  void ShowNewControl(const FormControlInfo& control, CControlButton* window) const;
  void ApplyStoredControl(FormControlInfo* control) const;
  bool AskDefaultValues(const ProfileColumns& unmapped, std::vector<FieldDefaultValue>* values);

  FormDocument m_document;
  // Declared after the document: the windows go before the control records they are keyed by.
  ControlWindows m_controlWindows;
  QFrame* m_pCanvas;
  CTabControl* m_pTabCtrl;
  QScrollBar* m_pScrollBar;
  QComboBox* m_pRadioGroupList;
  CDesignerCanvas* m_pDesignerCanvas;
  CDesignerToolbox* m_pToolbox;
  QLabel* m_pCanvasTitle;
  std::map<int, CTabCanvas> m_tabCanvases;
  int m_nArmedType = 0;
  CDesignerProperties* m_pProperties;
};
