#pragma once

#include <QColor>
#include <QRect>

class QPainter;

// A one-pixel frame just inside `rect`: top and left edges in `topLeft`, right and bottom edges
// in `bottomRight`.
void Draw3dRect(QPainter& painter, const QRect& rect, const QColor& topLeft, const QColor& bottomRight);
