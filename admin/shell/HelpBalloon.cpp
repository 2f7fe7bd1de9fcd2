#include "admin/shell/HelpBalloon.h"

#include "admin/shell/HelpDlg.h"

#include <QWidget>

namespace {

HelpBalloonOpener& InstalledOpener() {
  static HelpBalloonOpener opener;
  return opener;
}

}  // namespace

QPoint HelpBalloonPosition(const QWidget* anchor, BalloonAnchor kind) {
  const QPoint topLeft = anchor->mapToGlobal(QPoint(0, 0));
  if (kind == BalloonAnchor::DialogHelpButton) return topLeft + QPoint(-150, 20);
  if (kind == BalloonAnchor::FarDialogButton) return topLeft + QPoint(-250, 20);
  const int above = kind == BalloonAnchor::WizardPage ? 120 : 20;
  return QPoint(topLeft.x() - 50, topLeft.y() + anchor->height() - above);
}

void ShowHelpBalloon(int topic, QWidget* anchor, BalloonAnchor kind) {
  const QPoint position = HelpBalloonPosition(anchor, kind);
  if (InstalledOpener()) {
    InstalledOpener()(topic, position);
    return;
  }
  CHelpDlg balloon(anchor->window());
  balloon.SetTopic(topic);
  balloon.SetPosition(position);
  balloon.exec();
}

void SetHelpBalloonOpener(HelpBalloonOpener opener) { InstalledOpener() = std::move(opener); }
