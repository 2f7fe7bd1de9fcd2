#include "admin/shell/BMButton.h"
#include "admin/shell/BMSmallButton.h"
#include "admin/shell/Bitmaps.h"
#include "admin/shell/ButtonEx.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/Separator.h"
#include "admin/shell/StaticExG.h"
#include "tests/support/ImageProbe.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QImage>

namespace {

const QColor kDialog(210, 210, 255);
const QColor kMagenta(255, 0, 255);

// A dialog-coloured parent with one child at (0, 0), rendered as the screen would show it.
class OnDialog {
 public:
  explicit OnDialog(const QSize& size) {
    ApplyDialogBrush(&parent_);
    parent_.resize(size);
  }
  QWidget* parent() { return &parent_; }
  QImage Render() {
    QImage image(parent_.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    parent_.render(&image);
    return image;
  }

 private:
  QWidget parent_;
};

void Hover(QWidget* widget) {
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QApplication::sendEvent(widget, &enter);
}

bool Holds(const QImage& image, const QColor& color) { return testsupport::Holds(image, image.rect(), color); }

// Every pixel of the picture away from the caption's band (the first and last 4 columns), as
// the resource has it, magenta showing the dialog.
void ExpectPicture(const QImage& shown, int bitmap, int scale = 1) {
  const QImage picture = LoadBitmap(bitmap);
  ASSERT_FALSE(picture.isNull()) << bitmap;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      if (x >= 4 && x < picture.width() - 4) continue;
      const QColor drawn = picture.pixelColor(x, y) == kMagenta ? kDialog : picture.pixelColor(x, y);
      ASSERT_EQ(shown.pixelColor(x * scale + scale / 2, y * scale + scale / 2), drawn)
          << "bitmap " << bitmap << " at " << x << "," << y;
    }
  }
}

}  // namespace

TEST(BMButton, DrawsItsLookByStateOverTheDialog) {
  struct Case {
    bool enabled;
    bool hover;
    bool down;
    int bitmap;
    QColor caption;
  };
  const QColor navy(0, 0, 139), white(255, 255, 255), grey(210, 210, 210);
  for (const Case& c : {Case{true, false, false, 172, navy}, Case{true, true, false, 171, white},
                        Case{true, false, true, 170, white}, Case{true, true, true, 170, white},
                        Case{false, false, false, 172, grey}, Case{false, true, false, 172, grey}}) {
    SCOPED_TRACE(testing::Message() << "enabled " << c.enabled << " hover " << c.hover << " down " << c.down);
    OnDialog dialog(QSize(69, 21));
    auto* button = new CBMButton(QStringLiteral("OK"), dialog.parent());
    button->setGeometry(0, 0, 69, 21);
    if (c.hover) Hover(button);
    button->setDown(c.down);
    button->setEnabled(c.enabled);
    EXPECT_EQ(button->IsHovered(), c.hover);
    const QImage shown = dialog.Render();
    ExpectPicture(shown, c.bitmap);
    for (const QColor& caption : {navy, white, grey}) EXPECT_EQ(Holds(shown, caption), caption == c.caption);
  }
}

TEST(BMButton, StretchesItsMaskedPictureOverTheButton) {
  OnDialog dialog(QSize(138, 42));
  auto* button = new CBMButton(QString(), dialog.parent());
  button->setGeometry(0, 0, 138, 42);
  ExpectPicture(dialog.Render(), 172, 2);
}

TEST(BMSmallButton, UsesTheSmallPictures) {
  OnDialog dialog(QSize(22, 21));
  auto* button = new CBMSmallButton(QString(), dialog.parent());
  button->setGeometry(0, 0, 22, 21);
  ExpectPicture(dialog.Render(), 173);
  button->setDown(true);
  button->resize(69, 21);
  dialog.parent()->resize(69, 21);
  ExpectPicture(dialog.Render(), 176);
}

TEST(Separator, DrawsShadowAndHighlightTwoPixelsShortOfEachEnd) {
  struct Case {
    QSize size;
    bool vertical;
  };
  for (const Case& c : {Case{QSize(2, 40), true}, Case{QSize(40, 2), false}, Case{QSize(7, 30), true}}) {
    SCOPED_TRACE(testing::Message() << c.size.width() << "x" << c.size.height());
    OnDialog dialog(c.size);
    auto* separator = new CSeparator(dialog.parent());
    separator->setGeometry(QRect(QPoint(0, 0), c.size));
    const QImage shown = dialog.Render();
    const QColor shadow = separator->palette().color(QPalette::Dark);
    const QColor highlight = separator->palette().color(QPalette::Light);
    const int line = ((c.vertical ? c.size.width() : c.size.height()) - 1) / 2;
    for (int y = 0; y < c.size.height(); ++y) {
      for (int x = 0; x < c.size.width(); ++x) {
        const int across = c.vertical ? x : y;
        const int along = c.vertical ? y : x;
        const int length = c.vertical ? c.size.height() : c.size.width();
        const bool onLine = along >= 2 && along < length - 2;
        const QColor expected = onLine && across == line       ? shadow
                                : onLine && across == line + 1 ? highlight
                                                               : kDialog;
        ASSERT_EQ(shown.pixel(x, y), expected.rgb()) << x << "," << y;
      }
    }
  }
}

TEST(ButtonEx, PlacesItsIconAndShiftsItWhilePressed) {
  QPixmap icon(10, 10);
  icon.fill(QColor(255, 0, 0));
  const QColor red(255, 0, 0);
  struct Case {
    QString caption;
    bool down;
    QPoint iconAt;  // top left
  };
  // Without a caption centred, with one 3 pixels in; then 5 to the right, and 1 more each way
  // while pressed.
  for (const Case& c : {Case{QString(), false, QPoint(50, 10)}, Case{QString(), true, QPoint(51, 11)},
                        Case{QStringLiteral("Go"), false, QPoint(8, 10)}, Case{QStringLiteral("Go"), true, QPoint(9, 11)}}) {
    SCOPED_TRACE(testing::Message() << c.caption.toStdString() << " down " << c.down);
    OnDialog dialog(QSize(100, 30));
    auto* button = new CButtonEx(c.caption, dialog.parent());
    button->setGeometry(0, 0, 100, 30);
    EXPECT_EQ(button->SetIcon(icon), 1);
    button->setDown(c.down);
    const QImage shown = dialog.Render();
    EXPECT_EQ(shown.pixelColor(c.iconAt), red);
    EXPECT_EQ(shown.pixelColor(c.iconAt + QPoint(9, 9)), red);
    EXPECT_NE(shown.pixelColor(c.iconAt - QPoint(1, 0)), red);
    EXPECT_NE(shown.pixelColor(c.iconAt - QPoint(0, 1)), red);
    EXPECT_NE(shown.pixelColor(c.iconAt + QPoint(10, 10)), red);
    if (!c.caption.isEmpty()) {
      EXPECT_TRUE(Holds(shown, c.down ? QColor(255, 255, 255) : QColor(0, 0, 139)));
    }
    if (!c.down) {
      EXPECT_EQ(shown.pixelColor(1, 1), kDialog) << "at rest only the dialog shows around it";
    }
  }
}

TEST(ButtonEx, FillsItsOwnBackgroundWhenAskedAndFramesItselfUnderTheMouse) {
  OnDialog dialog(QSize(100, 30));
  auto* button = new CButtonEx(QString(), dialog.parent());
  button->setGeometry(0, 0, 100, 30);
  button->SetBackground(true, QColor(0, 128, 0));
  EXPECT_EQ(dialog.Render().pixelColor(1, 1), QColor(0, 128, 0));
  button->SetBackground(false, QColor(0, 128, 0));
  Hover(button);
  const QImage hovered = dialog.Render();
  EXPECT_EQ(hovered.pixelColor(0, 15), QColor(Qt::black)) << "the frame shows where the picture is magenta";
  EXPECT_EQ(button->SetIcon(QPixmap()), 0);
}

TEST(StaticExG, KeepsThePressedLookItsOwnerSets) {
  OnDialog dialog(QSize(69, 21));
  auto* label = new CStaticExG(QStringLiteral("Tab"), dialog.parent());
  label->setGeometry(0, 0, 69, 21);
  const QImage plain = dialog.Render();
  EXPECT_EQ(plain.pixelColor(2, 10), kDialog);
  EXPECT_TRUE(Holds(plain, QColor(0, 0, 139)));
  label->SetPressedLook(true);
  EXPECT_TRUE(Holds(dialog.Render(), QColor(255, 255, 255)));
  label->setText(QString());  // the caption starts at the left edge
  ExpectPicture(dialog.Render(), 170);
}
