#include "sync/engine/KeptDeviceMessages.h"

#include "platform/files/AtomicFile.h"
#include "shared/RegistrySettings.h"
#include "shared/contract/InstallLayout.h"

#include <QFile>

KeptDeviceMessages::KeptDeviceMessages()
    : m_strPath(GetInstallationPath() + installlayout::kCdbFolder + installlayout::kKeptDeviceMessages) {}

std::vector<devicemessages::DeviceMessage> KeptDeviceMessages::Load() const {
  QByteArray stream;
  bool missing = false;
  if (!platform::ReadWholeFile(m_strPath, &stream, &missing) || missing) return {};
  return devicemessages::ReadDeviceStream(stream).messages;
}

bool KeptDeviceMessages::Store(const std::vector<devicemessages::DeviceMessage>& messages) const {
  if (messages.empty()) return !QFile::exists(m_strPath) || QFile::remove(m_strPath);
  return platform::ReplaceFileAtomically(m_strPath, devicemessages::EncodeDeviceStream(messages));
}
