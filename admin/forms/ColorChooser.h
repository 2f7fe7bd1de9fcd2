#pragma once

#include <QColor>

#include <functional>
#include <optional>

class QWidget;

// Asks the administrator for a colour, starting from `initial`; nothing when the question was
// cancelled. The designer asks through here so that tests can answer in place of the dialog.
std::optional<QColor> ChooseColor(const QColor& initial, QWidget* parent);

using ColorChooser = std::function<std::optional<QColor>(const QColor& initial, QWidget* parent)>;
// Replaces the colour dialog; an empty chooser brings the dialog back.
void SetColorChooser(ColorChooser chooser);
