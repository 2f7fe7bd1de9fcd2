#pragma once

#include "admin/shell/GridCtrl.h"

namespace admin { class CDBHandler; }

// A grid over a record source: one header row with the column names, one header column with
// the row numbers, and the field values. The source is not owned: its owner detaches it
// (SetHandler(nullptr)) before closing, re-running or freeing it.
class CDatabaseGrid : public CGridCtrl {
  Q_OBJECT

 public:
  static QColor CellBackground() { return QColor(255, 255, 224); }

  explicit CDatabaseGrid(QWidget* parent = nullptr);

  void SetHandler(admin::CDBHandler* handler);
  admin::CDBHandler* GetHandler() const { return m_pHandler; }

  // Empty for the corner, without a source, and for a row the source cannot move to.
  QString GetCellText(int row, int column) override;
  // Text columns wrap, left-aligned; the others stand right on one line.
  int GetCellFormat(int column) override;

 private:
  admin::CDBHandler* m_pHandler = nullptr;
};
