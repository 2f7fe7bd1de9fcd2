#pragma once

#include "shared/formtext/FormTextRecords.h"

class CDesignerCanvas;
class CFormDesignerDlg;
class QLabel;

// The designer page's fixed controls around the canvas: the device's frame pictures, the tab
// and control buttons ("Add Page", "Delete Page", "Delete", "A", "V"), the captions and the
// hint in their colours, the separators and the canvas title. The row and column buttons the page's layout keeps have no
// action. Returns the canvas title, which shows the form's name.
QLabel* CreateDesignerPageControls(CFormDesignerDlg& page, CDesignerCanvas& canvas, DeviceType device);
