#pragma once

#include "tests/support/WidgetReach.h"

#include <QApplication>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

// Helpers for forms tests that drive dialogs as a user does.
namespace formtests {

// Closes the next modal dialog that opens over the present one within about a second. The
// class name of the dialog closed; empty while none was.
inline std::shared_ptr<QString> CloseNextModal() {
  auto closed = std::make_shared<QString>();
  const QPointer<QWidget> present = QApplication::activeModalWidget();
  auto look = std::make_shared<std::function<void(int)>>();
  *look = [closed, present, look](int attempts) {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == present) {
      if (attempts > 1) QTimer::singleShot(10, [look, attempts] { (*look)(attempts - 1); });
      else *look = nullptr;  // ends the cycle of the function holding itself
      return;
    }
    *closed = QString::fromLatin1(modal->metaObject()->className());
    modal->close();
    *look = nullptr;
  };
  QTimer::singleShot(10, [look] { (*look)(100); });
  return closed;
}

// Whether the point of the widget lies inside each of its parents up to the window, not
// scrolled or cut off.
inline bool InsideParents(const QWidget& widget, QPoint point) {
  for (const QWidget* child = &widget; !child->isWindow(); child = child->parentWidget()) {
    point = child->mapToParent(point);
    if (!child->parentWidget()->rect().contains(point)) return false;
  }
  return true;
}

// The controls of the window that a click at their centre would not reach, leaving out those a
// scroll area has moved out of sight (a grid's rows below its fold) and those that let clicks
// through by design.
inline QStringList UnreachableWidgets(QWidget* window) {
  QStringList unreachable;
  for (QWidget* control : testsupport::ControlsNotOnTop(*window)) {
    if (control->window() != window || control->testAttribute(Qt::WA_TransparentForMouseEvents) ||
        !InsideParents(*control, control->rect().center()))
      continue;
    unreachable.append(QString::fromStdString(testsupport::Describe(QList<QWidget*>{control})));
  }
  return unreachable;
}

}  // namespace formtests
