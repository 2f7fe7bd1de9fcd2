#include "admin/shell/ControlButton.h"
#include "shared/formtext/FormTextRecords.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWindow>

#include <cmath>
#include <ostream>

namespace {

QImage Render(QWidget& widget) {
  QImage image(widget.size(), QImage::Format_RGB32);
  image.fill(Qt::magenta);
  widget.render(&image);
  return image;
}

// A control 120 x 30 whose box or circle sits at x 5..24 around the middle row 15.
std::unique_ptr<CControlButton> MarkControl(int type, int checked) {
  auto control = std::make_unique<CControlButton>(type);
  control->resize(120, 30);
  control->SetBackgroundColor(QColor(210, 210, 255));
  control->SetControlType(checked);
  return control;
}

// Stands in for the form designer under the previews: tracks the mouse and records the mouse
// events that reach it, where they land in its own coordinates.
class DesignerCanvas : public QWidget {
 public:
  struct Seen {
    QEvent::Type type;
    QPoint position;
    bool operator==(const Seen&) const = default;
  };

  DesignerCanvas() {
    resize(300, 200);
    setMouseTracking(true);
  }

  QList<Seen> seen;

 protected:
  void mouseMoveEvent(QMouseEvent* event) override { Record(event); }
  void mousePressEvent(QMouseEvent* event) override { Record(event); }
  void mouseReleaseEvent(QMouseEvent* event) override { Record(event); }

 private:
  void Record(const QMouseEvent* event) { seen.append({event->type(), event->position().toPoint()}); }
};

void PrintTo(const DesignerCanvas::Seen& seen, std::ostream* out) {
  *out << "event " << seen.type << " at " << seen.position.x() << "," << seen.position.y();
}

// A mouse event as the window system delivers it: to the top-level window, which picks the
// widget under the point.
void SendMouse(QWidget& window, QEvent::Type type, const QPoint& point, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
  QMouseEvent event(type, point, window.mapToGlobal(point), button, buttons, Qt::NoModifier);
  QCoreApplication::sendEvent(window.windowHandle(), &event);
}

}  // namespace

TEST(ControlButton, CheckBoxShowsItsTickOnlyWhenChecked) {
  // Points on the tick's two strokes, inside the box, and one in the box away from the tick.
  const QPoint onTick[] = {{13, 16}, {17, 17}, {20, 12}};
  const QPoint offTick(8, 22);
  for (int checked : {0, 1, 2}) {
    const QImage image = Render(*MarkControl(kCheckBox, checked));
    for (const QPoint& point : onTick)
      EXPECT_EQ(image.pixelColor(point), checked ? QColor(255, 0, 0) : QColor(Qt::white))
          << "checked " << checked << " at " << point.x() << "," << point.y();
    EXPECT_EQ(image.pixelColor(offTick), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(60, 3), QColor(210, 210, 255)) << "background";
  }
}

TEST(ControlButton, RadioButtonShowsItsDotOnlyWhenSelected) {
  for (int selected : {0, 1}) {
    const QImage image = Render(*MarkControl(kRadioButton, selected));
    EXPECT_EQ(image.pixelColor(14, 15), selected ? QColor(0, 0, 255) : QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(14, 7), QColor(Qt::white)) << "inside the circle, above the dot";
  }
}

TEST(ControlButton, AlignmentByTypeAndExactNames) {
  EXPECT_EQ(CControlButton(kLabel).GetAlignText(), QStringLiteral("Right"));
  EXPECT_EQ(CControlButton(kButton).GetAlignText(), QStringLiteral("Center"));
  EXPECT_EQ(CControlButton(kTextBox).GetAlignText(), QStringLiteral("Left"));

  // Where the caption's ink lies: black text on white, 200 pixels wide.
  const auto inkSpan = [](const QString& align) {
    CControlButton label(kLabel);
    label.resize(200, 30);
    label.SetWindowText(QStringLiteral("WWW"));
    SetControlAlignment(align, &label);
    const QImage image = Render(label);
    int first = image.width(), last = -1;
    for (int x = 0; x < image.width(); ++x)
      for (int y = 0; y < image.height(); ++y)
        if (qGray(image.pixel(x, y)) < 128) {
          first = std::min(first, x);
          last = std::max(last, x);
        }
    return std::pair{first, last};
  };
  EXPECT_LT(inkSpan(QStringLiteral("Left")).second, 100);
  EXPECT_GT(inkSpan(QStringLiteral("Right")).first, 100);
  const auto centre = inkSpan(QStringLiteral("Center"));
  EXPECT_LT(std::abs((centre.first + centre.second) / 2 - 100), 8);
  EXPECT_LT(inkSpan(QStringLiteral("right")).second, 100) << "names compare exactly";
}

TEST(ControlButton, FontFaceSizeAndStyle) {
  CControlButton control(kTextBox);
  const char* faces[] = {"Verdana", "Times New Roman", "Tahoma", "Arial", "Century", "Microsoft Sans Serif"};
  for (int face = 0; face < 6; ++face) {
    control.SetFontFace(face);
    EXPECT_EQ(control.font().family(), QString::fromLatin1(faces[face]));
  }
  control.SetFontFace(6);
  EXPECT_TRUE(control.font().family().isEmpty()) << "an unknown face is left to the system";

  control.SetFontSize(12);
  EXPECT_EQ(control.font().pixelSize(),
            static_cast<int>(std::lround(12.0 * control.logicalDpiY() / 72.0)));

  struct Style {
    int style;
    bool bold;
    bool italic;
  };
  const Style styles[] = {{0, false, false}, {1, false, true}, {2, true, false}, {3, true, true}, {7, false, false}};
  for (const Style& s : styles) {
    control.SetFontStyle(s.style);
    EXPECT_EQ(control.font().bold(), s.bold) << s.style;
    EXPECT_EQ(control.font().italic(), s.italic) << s.style;
    EXPECT_EQ(control.font().pixelSize(), static_cast<int>(std::lround(12.0 * control.logicalDpiY() / 72.0)))
        << "the style keeps the size";
  }
}

TEST(ControlButton, TheDesignerUnderneathGetsTheMouseInItsOwnCoordinates) {
  DesignerCanvas canvas;
  auto* control = new CControlButton(kButton, &canvas);
  control->setGeometry(40, 50, 120, 30);
  canvas.show();
  const QPoint onControl(50, 65);
  SendMouse(canvas, QEvent::MouseMove, onControl, Qt::NoButton, Qt::NoButton);
  SendMouse(canvas, QEvent::MouseButtonPress, onControl, Qt::LeftButton, Qt::LeftButton);
  SendMouse(canvas, QEvent::MouseButtonRelease, onControl, Qt::LeftButton, Qt::NoButton);
  const QList<DesignerCanvas::Seen> expected = {
      {QEvent::MouseMove, onControl}, {QEvent::MouseButtonPress, onControl}, {QEvent::MouseButtonRelease, onControl}};
  EXPECT_EQ(canvas.seen, expected);
}
