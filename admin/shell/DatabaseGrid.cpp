#include "admin/shell/DatabaseGrid.h"

#include "admin/foundation/DBHandler.h"
#include "shared/odbc/ColumnKind.h"

CDatabaseGrid::CDatabaseGrid(QWidget* parent) : CGridCtrl(parent) {}

void CDatabaseGrid::SetHandler(admin::CDBHandler* handler) {
  m_pHandler = handler;
  if (handler == nullptr) {
    DeleteAllItems();
    return;
  }
  SetTextBkColor(CellBackground());
  SetDimensions(handler->GetColumnCount() + 1, handler->GetRowCount() + 1);
  SetFixedRowCount(1);
  SetFixedColumnCount(1);
}

QString CDatabaseGrid::GetCellText(int row, int column) {
  if ((row == 0 && column == 0) || m_pHandler == nullptr) return {};
  if (row == 0) return m_pHandler->GetColumnName(static_cast<int16_t>(column - 1));
  if (column == 0) return QString::number(row);
  if (!m_pHandler->MoveToRow(row - 1)) return {};
  return m_pHandler->GetFieldValue(row - 1, static_cast<int16_t>(column - 1));
}

int CDatabaseGrid::GetCellFormat(int column) {
  if (m_pHandler != nullptr && m_pHandler->GetColumnType(static_cast<int16_t>(column - 1)) == ColumnKind::Text) {
    return CGridCtrl::GetCellFormat(column);
  }
  return Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine;
}
