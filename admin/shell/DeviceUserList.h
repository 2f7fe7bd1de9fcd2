#pragma once

#include <QString>

class CColoredListCtrl;
namespace admin { class CDatabseConnection; }
class QRect;
class QWidget;

// The list of device users that the User Manager and the device-password dialog show: one row
// per user who is not removed, in the table's order, with the PIN first.

// A report list (control 1018) with full-row selection and grid lines at `place`.
CColoredListCtrl* NewDeviceUserList(QWidget* parent, const QRect& place);
// The columns "PIN", "Name", "Designation" and "Department", a quarter of the list each.
void InitUserListColumns(CColoredListCtrl* list);
// Lists the users afresh; the number listed.
int FillDeviceUserList(CColoredListCtrl* list, admin::CDatabseConnection& settings);
// The PIN of the row at the selection mark; empty without one.
QString SelectedUserPin(const CColoredListCtrl& list);
// Columns of equal width over the list's inner width.
int ShareOfListWidth(const CColoredListCtrl& list, int parts);
