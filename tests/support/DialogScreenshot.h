#pragma once

#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QPixmap>
#include <QWidget>

namespace testsupport {

// Saves a picture of a shown dialog as <build>/screenshots/<fileName>, for a look by eye, and
// checks that every control it shows lies inside it.
inline void SaveDialogScreenshot(QWidget& dialog, const QString& fileName) {
  const QString folder = BinaryDir() + QStringLiteral("/screenshots/");
  ASSERT_TRUE(QDir().mkpath(folder));
  const QPixmap picture = dialog.grab();
  EXPECT_EQ(picture.size(), dialog.size());
  EXPECT_TRUE(picture.save(folder + fileName));
  for (const QWidget* control : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (control->isVisibleTo(&dialog)) {
      EXPECT_TRUE(dialog.rect().contains(control->geometry())) << control->objectName().toStdString();
    }
  }
}

}  // namespace testsupport
