#pragma once

#include "admin/forms/PropertiesControl.h"
#include "admin/foundation/FormPropertyIds.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

// The rows of a designer property grid worked with the keys, as the administrator works them.
namespace formtests {

inline int RowOf(const CPropertiesControl& grid, int propertyId) {
  for (int row = 1; row < grid.GetRowCount(); ++row)
    if (grid.GetNameLabel(row)->text() == GetPropertyName(propertyId)) return row;
  return -1;
}

inline QWidget* Box(const CPropertiesControl& grid, int propertyId) {
  return grid.GetValueBox(RowOf(grid, propertyId));
}

// The value the row shows.
inline QString Shown(const CPropertiesControl& grid, int propertyId) {
  QWidget* box = Box(grid, propertyId);
  if (auto* edit = qobject_cast<QLineEdit*>(box)) return edit->text();
  if (auto* list = qobject_cast<QComboBox*>(box)) return list->currentText();
  return {};
}

// Replaces what the edit row holds with the text, typed key by key; Enter ends it when asked.
inline void Type(CPropertiesControl& grid, int propertyId, const QString& text, bool enter = true) {
  auto* edit = qobject_cast<QLineEdit*>(Box(grid, propertyId));
  ASSERT_NE(edit, nullptr) << GetPropertyName(propertyId).toStdString();
  QTest::mouseClick(edit, Qt::LeftButton);
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClicks(edit, text);
  if (enter) QTest::keyClick(edit, Qt::Key_Return);
  QCoreApplication::processEvents();
}

// Chooses the item of the drop-list row with the arrow keys. A refused choice puts the row
// back: the keys stop at the first box.
inline void Choose(CPropertiesControl& grid, int propertyId, const QString& text) {
  auto* list = qobject_cast<QComboBox*>(Box(grid, propertyId));
  ASSERT_NE(list, nullptr) << GetPropertyName(propertyId).toStdString();
  const int target = list->findText(text);
  ASSERT_GE(target, 0) << text.toStdString();
  list->setFocus();
  const auto& boxes = testsupport::MessageBoxRecorder::Global().shown();
  const qsizetype shown = boxes.size();
  for (int step = 0; step < list->count() && list->currentIndex() != target && boxes.size() == shown; ++step)
    QTest::keyClick(list, list->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
  QCoreApplication::processEvents();
}

}  // namespace formtests
