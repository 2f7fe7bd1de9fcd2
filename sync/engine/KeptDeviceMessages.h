#pragma once

#include "sync/engine/DeviceMessages.h"

#include <QString>

#include <vector>

// Device messages that could not be applied yet (the profile's source or workbook was out of
// reach): the service hands every message out once, so they wait in a file beside the
// snapshots, as a device stream, and are applied first on the next back-sync turn.
class KeptDeviceMessages {
 public:
  KeptDeviceMessages();

  // The messages kept by earlier turns; none when there is no file.
  std::vector<devicemessages::DeviceMessage> Load() const;
  // Keeps exactly `messages`; the file goes when there are none. False when it could not be written.
  bool Store(const std::vector<devicemessages::DeviceMessage>& messages) const;

  const QString& Path() const { return m_strPath; }

 private:
  QString m_strPath;
};
