#pragma once

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <functional>
#include <memory>

// Clicks as the user makes them: through the window, so that whatever lies on top at that
// point takes the click.
namespace formtests {

// The window point of a point of the widget.
inline QPoint WindowPoint(const QWidget& widget, const QPoint& local) { return widget.mapTo(widget.window(), local); }

inline void ClickThroughWindow(const QWidget& widget, const QPoint& local) {
  QTest::mouseClick(widget.window()->windowHandle(), Qt::LeftButton, {}, WindowPoint(widget, local));
}

inline void DoubleClickThroughWindow(const QWidget& widget, const QPoint& local) {
  QTest::mouseDClick(widget.window()->windowHandle(), Qt::LeftButton, {}, WindowPoint(widget, local));
}

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

// The visible, enabled buttons, edits, lists and spin boxes of the window that are not the
// topmost widget at their own centre: something else lies on them and takes the click.
inline QStringList UnreachableWidgets(QWidget* window) {
  QStringList unreachable;
  for (QWidget* widget : window->findChildren<QWidget*>()) {
    const bool operable = qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLineEdit*>(widget) ||
                          qobject_cast<QComboBox*>(widget) || qobject_cast<QAbstractItemView*>(widget) ||
                          qobject_cast<QAbstractSpinBox*>(widget) || qobject_cast<QTextEdit*>(widget) ||
                          qobject_cast<QPlainTextEdit*>(widget);
    if (!operable || widget->window() != window || !widget->isVisible() || !widget->isEnabled() ||
        widget->testAttribute(Qt::WA_TransparentForMouseEvents))
      continue;
    const QPoint centre = widget->rect().center();
    if (!InsideParents(*widget, centre)) continue;
    const QWidget* top = window->childAt(WindowPoint(*widget, centre));
    if (top != widget && !widget->isAncestorOf(top))
      unreachable.append(QStringLiteral("%1 \"%2\" under %3")
                             .arg(QString::fromLatin1(widget->metaObject()->className()), widget->objectName(),
                                  top != nullptr ? QString::fromLatin1(top->metaObject()->className()) + u' ' +
                                                       top->objectName()
                                                 : QStringLiteral("nothing")));
  }
  return unreachable;
}

}  // namespace formtests
