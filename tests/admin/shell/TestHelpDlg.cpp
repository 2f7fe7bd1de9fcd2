// The balloon help window: its text, size, shape and "X" by topic, and dragging it.
#include "admin/shell/BMSmallButton.h"
#include "admin/shell/DialogLook.h"
#include "admin/shell/HelpDlg.h"
#include "admin/shell/HelpTopics.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QTimer>

#include <functional>

namespace {

const QPoint kPlace(400, 300);

// Opens the balloon of `topic` at kPlace, lets `inspect` look at it while it runs modally and
// closes it with its "X"; the result of the run.
int RunBalloon(int topic, const std::function<void(CHelpDlg&)>& inspect) {
  CHelpDlg balloon;
  balloon.SetTopic(topic);
  balloon.SetPosition(kPlace);
  QTimer::singleShot(0, [&] {
    auto* shown = qobject_cast<CHelpDlg*>(QApplication::activeModalWidget());
    if (shown == nullptr) {
      ADD_FAILURE() << "no balloon";
      balloon.reject();
      return;
    }
    inspect(*shown);
    shown->findChild<CBMSmallButton*>(QStringLiteral("1153"))->click();
  });
  return balloon.exec();
}

int OneLine() { return QFontMetrics(MakeFont(QStringLiteral("Verdana"), 13, 400)).height(); }

void SendMouse(QWidget& target, QEvent::Type type, QPoint global, Qt::MouseButtons buttons) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, QPointF(target.mapFromGlobal(global)), QPointF(global), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(&target, &event);
}

}  // namespace

TEST(HelpDlg, TopicsWithoutTextShowASpaceOnOneLine) {
  for (const int topic : {0, 99, 15}) {
    EXPECT_EQ(RunBalloon(topic,
                         [topic](CHelpDlg& balloon) {
                           EXPECT_EQ(balloon.GetText(), QStringLiteral(" ")) << topic;
                           EXPECT_EQ(balloon.geometry(), QRect(kPlace, QSize(320, OneLine() + 30))) << topic;
                           EXPECT_FALSE(balloon.mask().contains(QPoint(0, 0))) << topic;
                           EXPECT_TRUE(balloon.mask().contains(QPoint(160, OneLine() / 2 + 15))) << topic;
                         }),
              QDialog::Accepted);
  }
}

TEST(HelpDlg, TheFirstSevenTopicsKeepTheTemplatesWidthAndButton) {
  struct Case {
    int topic;
    int layoutWidth;
    QRect closeButton;
  };
  for (const Case& c : {Case{1, 210, QRect(198, 0, 12, 16)}, Case{7, 210, QRect(198, 0, 12, 16)},
                        Case{8, 320, QRect(300, 5, 15, 15)}, Case{19, 320, QRect(300, 5, 15, 15)}}) {
    RunBalloon(c.topic, [&c](CHelpDlg& balloon) {
      EXPECT_EQ(balloon.GetLayoutRect().width(), c.layoutWidth) << c.topic;
      EXPECT_EQ(balloon.width(), 320) << c.topic;
      EXPECT_EQ(balloon.findChild<CBMSmallButton*>(QStringLiteral("1153"))->geometry(), c.closeButton) << c.topic;
      EXPECT_FALSE(balloon.mask().contains(QPoint(c.layoutWidth + 2, balloon.height() / 2))) << c.topic;
    });
  }
}

TEST(HelpDlg, TheTextIsTheTopicsWithPlainLineFeeds) {
  int heightOf20 = 0;
  int heightOf12 = 0;
  RunBalloon(20, [&](CHelpDlg& balloon) { heightOf20 = balloon.height(); });
  RunBalloon(12, [&](CHelpDlg& balloon) {
    heightOf12 = balloon.height();
    EXPECT_FALSE(balloon.GetText().contains(u'\r'));
    EXPECT_EQ(balloon.GetText(), HelpTopicText(12).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  });
  EXPECT_GT(heightOf12, heightOf20);
  EXPECT_GT(heightOf20, OneLine() + 30);
  EXPECT_TRUE(HelpTopicText(19).contains(QStringLiteral("use \u201CStart As Application\u201D option")));
  EXPECT_TRUE(HelpTopicText(8).startsWith(QStringLiteral("User Manager:\r\n1.Use \"Add new User\"")));
}

TEST(HelpDlg, ADragMovesTheBalloonByTheCursorsWayAlsoOutsideIt) {
  RunBalloon(19, [](CHelpDlg& balloon) {
    const QPoint grip = balloon.mapToGlobal(QPoint(40, 40));
    SendMouse(balloon, QEvent::MouseMove, grip + QPoint(5, 5), Qt::NoButton);
    EXPECT_EQ(balloon.pos(), kPlace) << "a move without a button";
    SendMouse(balloon, QEvent::MouseButtonPress, grip, Qt::LeftButton);
    SendMouse(balloon, QEvent::MouseMove, grip + QPoint(30, 20), Qt::LeftButton);
    EXPECT_EQ(balloon.pos(), kPlace + QPoint(30, 20));
    SendMouse(balloon, QEvent::MouseMove, grip + QPoint(900, 700), Qt::LeftButton);
    EXPECT_EQ(balloon.pos(), kPlace + QPoint(900, 700)) << "the cursor far outside the balloon";
    SendMouse(balloon, QEvent::MouseButtonRelease, grip + QPoint(900, 700), Qt::NoButton);
    SendMouse(balloon, QEvent::MouseMove, grip, Qt::NoButton);
    EXPECT_EQ(balloon.pos(), kPlace + QPoint(900, 700)) << "the drag ended with the release";
    EXPECT_TRUE(balloon.isVisible());
  });
}
