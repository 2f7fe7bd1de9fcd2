#pragma once

#include <QPixmap>
#include <QString>

class QPainter;
class QRect;

// The icon and caption of the transparent icon buttons and labels: with a caption the icon
// stands at the left and the caption after it, without one the icon is centred; pressed, both
// move one pixel right and down and the caption turns white.
void DrawIconAndCaption(QPainter& painter, const QRect& item, const QPixmap& icon, const QString& caption,
                        bool pressed);
