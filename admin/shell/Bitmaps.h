#pragma once

#include <QImage>

// The program's own bitmaps by their resource numbers (129, 131, 133-135, 155, 170-174, 176,
// 177, 211, 212, 236, 252, 253).
QImage LoadBitmap(int id);

// The bitmap with its magenta (255, 0, 255) pixels made transparent, ready to be stretched.
QImage LoadMaskedBitmap(int id);
