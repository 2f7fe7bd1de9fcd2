#pragma once

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QRect>
#include <QTest>
#include <QStringList>
#include <QTextDocument>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

#include <string>

namespace testsupport {

// Whether a user can reach the control: something a user clicks or types into.
inline bool IsUserControl(const QWidget& widget) {
  return qobject_cast<const QAbstractButton*>(&widget) != nullptr ||
         qobject_cast<const QLineEdit*>(&widget) != nullptr ||
         qobject_cast<const QComboBox*>(&widget) != nullptr ||
         qobject_cast<const QAbstractItemView*>(&widget) != nullptr ||
         qobject_cast<const QAbstractSpinBox*>(&widget) != nullptr ||
         qobject_cast<const QTextEdit*>(&widget) != nullptr ||
         qobject_cast<const QPlainTextEdit*>(&widget) != nullptr;
}

// Whether a click at the control's centre, given to its top-level window, lands on the control
// (or on a part of it, such as a list's viewport), as it does for a user.
inline bool IsTopmostAtItsCentre(const QWidget& window, const QWidget& control) {
  if (control.window() != &window) return false;
  const QWidget* hit = window.childAt(control.mapTo(&window, control.rect().center()));
  return hit != nullptr && (hit == &control || control.isAncestorOf(hit));
}

// Every shown, enabled control of a top-level window that a click at its centre would not reach:
// covered by a sibling, clipped away by its parent, or living in a window of its own.
inline QList<QWidget*> ControlsNotOnTop(const QWidget& window) {
  QList<QWidget*> unreachable;
  for (QWidget* control : window.findChildren<QWidget*>()) {
    if (!IsUserControl(*control) || !control->isVisible() || !control->isEnabled()) continue;
    if (!IsTopmostAtItsCentre(window, *control)) unreachable.append(control);
  }
  return unreachable;
}

// A left click given to the control's top-level window at a point of the control (its centre
// unless told), so that whatever lies on top there takes it, as it does when a user clicks. The
// window has to be shown.
inline void ClickAsUser(const QWidget& control, QPoint at = QPoint()) {
  QWidget* window = control.window();
  if (at.isNull()) at = control.rect().center();
  QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, control.mapTo(window, at));
}

inline void DoubleClickAsUser(const QWidget& control, QPoint at = QPoint()) {
  QWidget* window = control.window();
  if (at.isNull()) at = control.rect().center();
  QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, control.mapTo(window, at));
}

// The text a label shows: an ampersand marks a shortcut only when the label has a buddy.
inline QString ShownLabelText(const QLabel& label) {
  if (label.buddy() == nullptr) return label.text();
  QString shown = label.text();
  shown.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  shown.remove(QLatin1Char('&'));
  shown.replace(QStringLiteral("\x01"), QStringLiteral("&"));
  return shown;
}

inline bool LabelTextFits(const QLabel& label) {
  const QRect room = label.contentsRect();
  if (Qt::mightBeRichText(label.text()) && label.textFormat() != Qt::PlainText) {
    QTextDocument document;
    document.setDocumentMargin(0);
    document.setDefaultFont(label.font());
    document.setHtml(label.text());
    if (!label.wordWrap()) return document.idealWidth() <= room.width();
    document.setTextWidth(room.width());
    return document.size().height() <= room.height();
  }
  const QFontMetrics metrics = label.fontMetrics();
  const QString shown = ShownLabelText(label);
  if (label.wordWrap()) {
    return metrics.boundingRect(room, Qt::TextWordWrap, shown).height() <= room.height();
  }
  for (const QString& line : shown.split(QLatin1Char('\n'))) {
    if (metrics.horizontalAdvance(line) > room.width()) return false;
  }
  return true;
}

// Every shown label of the widget whose text is wider (or, when it wraps, taller) than the room
// the label gives it, so a user sees it cut off.
inline QList<QLabel*> ClippedLabels(const QWidget& widget) {
  QList<QLabel*> clipped;
  for (QLabel* label : widget.findChildren<QLabel*>()) {
    if (!label->isVisible() || label->text().isEmpty()) continue;
    if (!LabelTextFits(*label)) clipped.append(label);
  }
  return clipped;
}

// Names widgets for a failure message: object name, class and shown text where there is one.
template <typename T>
std::string Describe(const QList<T*>& widgets) {
  QStringList names;
  for (const T* widget : widgets) {
    QString name = QString::fromLatin1(widget->metaObject()->className()) + QLatin1Char(' ') +
                   widget->objectName();
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
      name += QStringLiteral(" \"") + label->text() + QLatin1Char('"');
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
      name += QStringLiteral(" \"") + button->text() + QLatin1Char('"');
    }
    names.append(name);
  }
  return names.join(QStringLiteral(", ")).toStdString();
}

}  // namespace testsupport
