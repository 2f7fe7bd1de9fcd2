#include "admin/shell/Bitmaps.h"

#include <QColor>
#include <QString>

// The resources live in a static library: registered by hand before the first use (outside any
// namespace, as the registration function is global).
static void RegisterBitmaps() {
  static const bool registered = [] {
    Q_INIT_RESOURCE(Bitmaps);
    return true;
  }();
  static_cast<void>(registered);
}

QImage LoadBitmap(int id) {
  RegisterBitmaps();
  return QImage(QStringLiteral(":/bitmaps/%1.png").arg(id));
}

QImage LoadMaskedBitmap(int id) {
  QImage image = LoadBitmap(id).convertToFormat(QImage::Format_ARGB32);
  const QRgb key = qRgb(255, 0, 255);
  for (int y = 0; y < image.height(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if ((line[x] | 0xFF000000u) == key) line[x] = qRgba(0, 0, 0, 0);
  }
  return image;
}
