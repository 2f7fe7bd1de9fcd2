#include "admin/shell/DeviceUserList.h"

#include "admin/foundation/UserInfoTable.h"
#include "admin/shell/ColoredListCtrl.h"

#include <QRect>

CColoredListCtrl* NewDeviceUserList(QWidget* parent, const QRect& place) {
  auto* list = new CColoredListCtrl(parent);
  list->setObjectName(QStringLiteral("1018"));
  list->setShowGrid(true);
  list->setGeometry(place);
  return list;
}

int ShareOfListWidth(const CColoredListCtrl& list, int parts) { return (list.width() - 2 * list.frameWidth()) / parts; }

void InitUserListColumns(CColoredListCtrl* list) {
  const int width = ShareOfListWidth(*list, 4);
  int column = 0;
  for (const QString& heading :
       {QStringLiteral("PIN"), QStringLiteral("Name"), QStringLiteral("Designation"), QStringLiteral("Department")})
    list->InsertColumn(column++, heading, width);
}

int FillDeviceUserList(CColoredListCtrl* list, admin::CDatabseConnection& settings) {
  list->DeleteAllItems();
  UserInfoTable table(settings);
  for (const UserInfoRow& user : table.Rows()) {
    if (user.IsRemoved()) continue;
    const int row = list->InsertItem(list->GetItemCount(), user.PIN);
    list->SetItemText(row, 1, user.Name);
    list->SetItemText(row, 2, user.Designation);
    list->SetItemText(row, 3, user.Department);
  }
  return list->GetItemCount();
}

QString SelectedUserPin(const CColoredListCtrl& list) {
  const int row = list.GetSelectionMark();
  return row < 0 ? QString() : list.GetItemText(row, 0);
}
