#pragma once

#include <QByteArray>

#include <cstdint>

// The engine of the sync program: it runs the control loop, and each worker turn makes a fresh
// object of it.
class CStatusChangeCheck {
 public:
  virtual ~CStatusChangeCheck() = default;

  // Starts both worker threads, polls SyncServiceStatus every 100 ms while it is 1, then stops
  // and reaps the threads, which finish the exchange they are in. A thread that does not end
  // within syncbounds::kProgramStop of the stop ends the program without it. Returns 0.
  int RunSyncWorker() const;

  // Profiles and forms reach the devices: the status-flag passes move each UserProfileStatus and
  // UserFormStatus flag on once the web service took its message ("A" -> "AD" -> "AF" -> "",
  // "D" -> row deleted). The profile passes answer false only when a send was refused.
  bool ProcessProfileStatusChanges() const;
  bool SendNewProfileData() const;
  bool ProcessFinishedProfiles() const;
  void ProcessFormStatusChanges() const;
  void SendNewFormData() const;
  void ProcessFinishedForms() const;
  // The Add Profile and Add Form messages; empty when none could be built (the reason is logged).
  QByteArray BuildProfileMetadata(int32_t profileId) const;
  QByteArray BuildFormMetadata(int32_t formId) const;

  // Change detection: for every profile some user holds in step, sends the rows added, changed
  // and deleted since its snapshot to the devices and rewrites the snapshot. False when a stop
  // request ended the pass early.
  bool DetectDataChanges() const;

  // Back synchronisation (BackSync.cpp), the back-sync thread's turn.
  // Delivers the acknowledgements stored when their delivery was refused, oldest first; true
  // when all went (or there were none), false when the table could not be read or the service
  // refused one (it and those after it stay stored).
  bool ResendPendingAcks() const;
  // Fetches the device changes waiting for this desktop, applies them under the conflict rule,
  // and acknowledges each one applied or refused; the messages whose source was out of reach
  // are kept for the next turn, and applied before the fetched ones.
  void ProcessDeviceChanges() const;
};
