#pragma once

#include "admin/foundation/AppLog.h"

#include <QString>

// Texts that the synchronisation toggle and the mode switch both show.
namespace syncmessages {

inline QString UnableToStart() {
  return QStringLiteral("Unable to start Synchronization. Contact ") + SupportAddress() +
         QStringLiteral(" for more information.");
}

inline QString UnableToStop() {
  return QStringLiteral("Unable to stop Synchronization. Contact ") + SupportAddress() +
         QStringLiteral(" for more information.");
}

inline QString ProblemToStop() { return QStringLiteral("Problem to Stop Synchronization Service."); }

inline QString StartCaption() { return QStringLiteral("Start Synchronization"); }
inline QString StopCaption() { return QStringLiteral("Stop Synchronization"); }

}  // namespace syncmessages
