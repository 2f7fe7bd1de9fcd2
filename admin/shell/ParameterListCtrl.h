#pragma once

#include "admin/shell/ColoredListCtrl.h"
#include "admin/shell/CoolEdit.h"

#include <QPointer>

// The list of the parameter dialog: a click on an entry of the editable column opens an
// in-place editor over it, whose text goes back into the entry when the edit ends.
class CParameterListCtrl : public CColoredListCtrl {
  Q_OBJECT

 public:
  static constexpr int kEditorId = 5656;
  static constexpr int kLongestValue = 255;

  explicit CParameterListCtrl(QWidget* parent = nullptr);

  void SetEditableColumn(int column) { m_nEditableColumn = column; }
  // Ends a running edit: the editor's text goes into its entry, the editor goes and the list
  // takes the focus back. Nothing when no edit runs.
  void EndEdit();
  // The running editor; null when none.
  CCoolEdit* GetEditor() const { return m_pEditor.data(); }

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void BeginEdit(int row, int column);

  int m_nEditableColumn = 3;
  QPointer<CCoolEdit> m_pEditor;
  int m_nEditRow = -1;
  int m_nEditColumn = -1;
};
