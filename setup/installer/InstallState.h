#pragma once

#include "setup/common/AdminServiceClient.h"
#include "setup/common/HostedPagesClient.h"

#include <QString>

#include <cstdint>

// What the wizard's pages collect for the finish page; nothing is written to the machine before
// it. The exchanges with the hosted services read `service`.
struct InstallState {
  static constexpr uint16_t kPersonalEdition = 121;
  static constexpr uint16_t kEnterpriseEdition = 212;

  QString previousInstallation;  // InstallationPath found at start; empty on a clean machine
  SetupServiceState service;     // endpoint, header values, desktop name, device id, proxy record
  QString devicePassword;
  QString adminPassword;
  uint16_t deviceType = 0;  // 1 BlackBerry, 2 iPhone/iPod Touch, 3 Pocket PC, 4 iPad
  uint16_t edition = 0;
  int32_t modify = 0;         // 1 would lock the folder choice
  int32_t startLocked = 0;    // 1 would disable the finish page's start box
  QString webServiceAddress;  // cut after its last "/"; its parts are in service.webService
  QString installFolder;
  int32_t createFolder = 1;
};

// The hosted pages of the web service the device page found, through the chosen connection.
HostedPagesTarget HostedPagesOf(const InstallState& state);
