#pragma once

#include <QPoint>

#include <functional>

class QWidget;

// Where a balloon opens: near a dialog's Help button or near a wizard page.
enum class BalloonAnchor {
  DialogHelpButton,  // the button's left - 150, its top + 20
  WizardPage,        // the page's left - 50, its bottom - 120
  SmallHelpButton,   // the button's left - 50, its bottom - 20
  FarDialogButton,   // the button's left - 250, its top + 20
};

// The balloon's top-left corner in screen coordinates for the anchor widget.
QPoint HelpBalloonPosition(const QWidget* anchor, BalloonAnchor kind);

// Shows the balloon of `topic` modally at the anchor's place.
void ShowHelpBalloon(int topic, QWidget* anchor, BalloonAnchor kind);

// Replaces what ShowHelpBalloon opens (tests); an empty opener restores the balloon.
using HelpBalloonOpener = std::function<void(int topic, QPoint position)>;
void SetHelpBalloonOpener(HelpBalloonOpener opener);
