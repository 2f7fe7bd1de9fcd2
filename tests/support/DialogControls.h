#pragma once

#include <QPoint>
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

namespace testsupport {

// The control of a dialog by its identifier (its object name); a missing one fails the test.
template <typename T>
T* Control(const QWidget& dialog, const char* id) {
  T* control = dialog.findChild<T*>(QString::fromLatin1(id));
  EXPECT_NE(control, nullptr) << id;
  return control;
}

// A help balloon a dialog opened, as a test's balloon opener records it.
struct OpenedBalloon {
  int topic = 0;
  QPoint position;
};

}  // namespace testsupport
