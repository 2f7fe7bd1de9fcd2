#include "admin/forms/DesignerPageControls.h"

#include "admin/forms/DesignerCanvas.h"
#include "admin/forms/FormDesignerDlg.h"
#include "admin/shell/BMButton.h"
#include "admin/shell/Separator.h"

#include <QFrame>
#include <QLabel>
#include <QScrollBar>

namespace {

// The toolbox colour behind the captions, the hint and the canvas title.
const QColor kToolboxColor(177, 189, 205);
const QColor kDeviceBodyColor(48, 48, 48);
// The toolbox column left of the device and the grid column right of it.
constexpr int kColumnWidth = 150;

QLabel* Caption(QWidget* page, int id, const QString& text, const QColor& textColor, const QRect& place) {
  auto* label = new QLabel(text, page);
  label->setObjectName(QString::number(id));
  label->setGeometry(place);
  label->setAutoFillBackground(true);
  QPalette palette = label->palette();
  palette.setColor(QPalette::Window, kToolboxColor);
  palette.setColor(QPalette::WindowText, textColor);
  label->setPalette(palette);
  return label;
}

void Separator(QWidget* page, int id, const QRect& place) {
  auto* line = new CSeparator(page);
  line->setObjectName(QString::number(id));
  line->setGeometry(place);
}

// The device's body around the canvas frame: left, top, right and bottom pictures. An iPad's
// top picture reaches further left.
void DevicePictures(QWidget* page, const QRect& frame, DeviceType device) {
  constexpr int side = 12;
  constexpr int top = 30;
  constexpr int rightSide = 20;
  const int topShift = device == DeviceType::IPad ? 40 : 0;
  const std::pair<int, QRect> pictures[] = {
      {1274, QRect(frame.left() - side, frame.top(), side, frame.height())},
      {1275, QRect(frame.left() - side - topShift, frame.top() - top, frame.width() + side + rightSide + topShift, top)},
      // wide enough to carry the scroll bar, which lies over it
      {1276, QRect(frame.right() + 1, frame.top(), rightSide, frame.height())},
      {1278, QRect(frame.left() - side, frame.bottom() + 1, frame.width() + side + rightSide, side)}};
  for (const auto& [id, place] : pictures) {
    auto* picture = new QWidget(page);
    picture->setObjectName(QString::number(id));
    picture->setGeometry(place);
    picture->setAutoFillBackground(true);
    QPalette palette = picture->palette();
    palette.setColor(QPalette::Window, kDeviceBodyColor);
    picture->setPalette(palette);
    picture->setAttribute(Qt::WA_TransparentForMouseEvents);
  }
}

// Buttons the page's layout has always carried without an action of their own.
void UnhandledButtons(QWidget* page) {
  const std::pair<int, const char*> buttons[] = {
      {1161, "Row Move Up"}, {1162, "Row Move Down"}, {1163, "Add Row"}, {1164, "Delete Row"}, {1269, "Adjust Column"}};
  for (const auto& [id, text] : buttons) (new CBMButton(QString::fromLatin1(text), id, QRect(), page))->hide();
}

}  // namespace

QLabel* CreateDesignerPageControls(CFormDesignerDlg& page, CDesignerCanvas& canvas, DeviceType device) {
  const QRect frame = page.GetCanvas()->geometry();
  DevicePictures(&page, frame, device);
  auto* addPage = new CBMButton(QStringLiteral("Add Page"), 1153, QRect(frame.left(), 4, 100, 26), &page);
  auto* deletePage = new CBMButton(QStringLiteral("Delete Page"), 1154, QRect(frame.left() + 108, 4, 100, 26), &page);
  auto* deleteCtrl = new CBMButton(QStringLiteral("Delete"), 1160, QRect(20, 300, 100, 26), &page);
  auto* up = new CBMButton(QStringLiteral("A"), 1235, QRect(frame.left() - 44, frame.bottom() - 60, 26, 26), &page);
  auto* down = new CBMButton(QStringLiteral("V"), 1236, QRect(frame.left() - 44, frame.bottom() - 30, 26, 26), &page);
  QObject::connect(addPage, &QPushButton::clicked, &page, &CFormDesignerDlg::AddPage);
  QObject::connect(deletePage, &QPushButton::clicked, &canvas, &CDesignerCanvas::DeletePage);
  QObject::connect(deleteCtrl, &QPushButton::clicked, &canvas, &CDesignerCanvas::DeleteCtrl);
  QObject::connect(up, &QPushButton::clicked, &canvas, &CDesignerCanvas::ScrollUp);
  QObject::connect(down, &QPushButton::clicked, &canvas, &CDesignerCanvas::ScrollDown);

  const int right = page.GetScrollBar()->geometry().right() + 12;
  Caption(&page, 1238, QStringLiteral("Tool Box"), Qt::black, QRect(20, 36, kColumnWidth, 20));
  Caption(&page, 1227, QStringLiteral("Tab Properties"), Qt::black, QRect(right, 36, kColumnWidth, 20));
  Caption(&page, 1231, QStringLiteral("Control Properties"), Qt::black, QRect(right, 260, kColumnWidth, 20));
  Caption(&page, 1270, QStringLiteral("To Move Controls, use Arrow Keys\r\nTo Resize Controls, use Shift + Arrow Keys"),
          Qt::blue, QRect(frame.left(), frame.bottom() + 6, frame.width(), 32));
  Separator(&page, 1228, QRect(20, 30, kColumnWidth, 4));
  Separator(&page, 1229, QRect(right, 30, kColumnWidth, 4));
  Separator(&page, 1230, QRect(right, 254, kColumnWidth, 4));
  Separator(&page, 1237, QRect(20, 294, kColumnWidth, 4));
  UnhandledButtons(&page);
  page.GetScrollBar()->raise();
  // The canvas title sits in the top picture.
  return Caption(&page, 1240, QString(), Qt::white, QRect(frame.left() + 2, frame.top() - 24, frame.width() - 4, 20));
}
