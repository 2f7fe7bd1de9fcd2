#include "admin/shell/SyncToggle.h"

#include "admin/foundation/SyncControl.h"
#include "admin/shell/SyncControlPort.h"
#include "admin/shell/SyncMessages.h"
#include "platform/widgets/MessageBox.h"

using namespace syncmessages;

namespace {

const QString kServiceMode = QStringLiteral("SyncService As Window Service is Enabled.");
const QString kProgramMode = QStringLiteral("SyncService As Application is Enabled.");

}  // namespace

void SyncToggle::Show(SyncStatusView* view, const QString& status, bool running) {
  view->status = status;
  view->buttonText = running ? StopCaption() : StartCaption();
}

void SyncToggle::ReadState(bool startUp, SyncStatusView* view) {
  if (m_port.GetStartSyncStatus() != 0) {
    if (startUp) m_port.WriteLog(-1, kServiceMode);
    const int running = m_port.CheckServiceStatus();
    if (running < 0) {
      view->status = QStringLiteral("Unable to check %1 status.").arg(kSyncServiceName);
      return;
    }
    const QString status = running == 1 ? QStringLiteral("%1 is Started.") : QStringLiteral("%1 is Stopped.");
    Show(view, status.arg(kSyncServiceName), running == 1);
    return;
  }
  if (startUp) m_port.WriteLog(-1, kProgramMode);
  const int running = m_port.IsSyncProcessRunning();
  if (running < 0) {
    view->status = QStringLiteral("Unable to check SyncService status.");
    return;
  }
  Show(view, running == 1 ? QStringLiteral("SyncService is Started.") : QStringLiteral("SyncService is Stopped."),
       running == 1);
}

void SyncToggle::Toggle(SyncStatusView* view) {
  if (m_port.GetStartSyncStatus() != 0) {
    ToggleService(view);
  } else {
    ToggleProgram(view);
  }
}

bool SyncToggle::ConfirmStop() {
  return m_port.MessageBox(QStringLiteral("If Synchronization stopped data will not sync with Device. Do you want to "
                                          "stop Synchronization ?"),
                           platform::MB_YESNO) == platform::IDYES;
}

void SyncToggle::ToggleService(SyncStatusView* view) {
  m_port.WriteLog(-1, kServiceMode);
  const int running = m_port.CheckServiceStatus();
  if (running == 1) {
    if (ConfirmStop()) StopService(view);
  } else if (running == 0) {
    StartService(view);
  } else {
    view->status = QStringLiteral("Unable to check %1 status.").arg(kSyncServiceName);
  }
}

void SyncToggle::StopService(SyncStatusView* view) {
  const int result = m_port.StopWindowsService();
  if (result != 1) {
    m_port.WriteLog(-1, QStringLiteral("Problem in stoping %1 : %2").arg(kSyncServiceName).arg(result));
    m_port.MessageBox(UnableToStop(), platform::MB_OK);
    return;
  }
  m_port.WriteLog(-1, QStringLiteral("%1 stopped successfully").arg(kSyncServiceName));
  Show(view, QStringLiteral("%1 is Stopped.").arg(kSyncServiceName), false);
  m_port.MessageBox(QStringLiteral("Synchronization stopped successfully."), platform::MB_OK);
}

void SyncToggle::StartService(SyncStatusView* view) {
  const int result = m_port.StartWindowsService();
  if (result != 1) {
    m_port.WriteLog(-1, QStringLiteral("Problem in starting %1: %2").arg(kSyncServiceName).arg(result));
    m_port.MessageBox(UnableToStart(), platform::MB_OK);
    return;
  }
  m_port.WriteLog(-1, QStringLiteral("%1 started successfully").arg(kSyncServiceName));
  Show(view, QStringLiteral("%1 is Started.").arg(kSyncServiceName), true);
  m_port.MessageBox(QStringLiteral("Synchronization Started Successfully."), platform::MB_OK);
}

void SyncToggle::ToggleProgram(SyncStatusView* view) {
  m_port.WriteLog(-1, kProgramMode);
  const int running = m_port.IsSyncProcessRunning();
  if (running == 1) {
    if (ConfirmStop()) StopProgram(view);
  } else if (running == 0) {
    StartProgram(view);
  } else {
    view->status = QStringLiteral("Unable to check SyncService status.");
  }
}

void SyncToggle::StopProgram(SyncStatusView* view) {
  m_port.SetSyncServiceStatus(0);
  if (m_port.WaitForSyncProcessExit() == 0) {
    m_port.WriteLog(-1, QStringLiteral("Problem Sync stop<1>"));
    m_port.MessageBox(ProblemToStop(), platform::MB_ICONERROR);
    return;
  }
  m_port.WriteLog(-1, QStringLiteral("SyncService stopped successfully"));
  Show(view, QStringLiteral("SyncService is Stopped."), false);
  m_port.MessageBox(QStringLiteral("Synchronization stopped successfully."), platform::MB_OK);
}

// A starter whose presence cannot be told is launched all the same: the sync program it starts
// runs as a single instance.
void SyncToggle::StartProgram(SyncStatusView* view) {
  const bool switchedOn = m_port.SetSyncServiceStatus(1) == 1;
  const bool launched = switchedOn && (m_port.IsStartSyncProcessRunning() == 1 || m_port.LaunchStartSyncProgram());
  if (!launched) {
    m_port.WriteLog(-1, switchedOn ? QStringLiteral("Problem Sync start<2>") : QStringLiteral("Problem Sync start<1>"));
    m_port.MessageBox(UnableToStart(), platform::MB_OK);
    return;
  }
  m_port.WriteLog(-1, QStringLiteral("SyncService started successfully"));
  Show(view, QStringLiteral("SyncService is Started."), true);
  m_port.MessageBox(QStringLiteral("Synchronization Started Successfully."), platform::MB_OK);
}
