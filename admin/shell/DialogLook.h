#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QGroupBox;
class QRect;
class QWidget;

// What every dialog of the administration program shares in its look.

// A font as the dialogs describe theirs: a positive height is the cell height (ascent + descent),
// a negative one the character height, both in pixels; the width has no counterpart in Qt and
// is dropped.
QFont MakeFont(const QString& face, int height, int weight);

// The dialog brush: every dialog's background, under its static texts too.
QColor DialogBrushColor();
void ApplyDialogBrush(QWidget* dialog);

// A frame around controls of the dialog, under every control made before it, so that the
// controls it surrounds keep their clicks.
QGroupBox* AddFrame(QWidget* dialog, const QString& id, const QRect& place, const QString& title = QString());
