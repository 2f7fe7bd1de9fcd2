#pragma once

class CDesignerCanvas;
class CFormDesignerDlg;
class QLabel;

// The designer page's fixed controls around the canvas: the tab and control buttons ("Add
// Page", "Delete Page", "Delete", "A", "V"), the captions and the hint in their colours, the
// separators and the canvas title. The row and column buttons the page's layout keeps have no
// action. Returns the canvas title, which shows the form's name.
QLabel* CreateDesignerPageControls(CFormDesignerDlg& page, CDesignerCanvas& canvas);
