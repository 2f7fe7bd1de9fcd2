#pragma once

#include "admin/shell/SyncControlPort.h"
#include "platform/widgets/MessageBox.h"

#include <QSet>
#include <QStringList>

// A synchronisation control that answers as it is told and records every step that changes
// something, in order: registry writes, service starts and stops, waits, shortcut changes,
// launches, wrapper runs with their folders, and boxes with their type.
class RecordingSyncControl : public SyncControlPort {
 public:
  int startSyncStatus = 0;
  int syncServiceStatus = 1;
  bool shortcut = true;
  int serviceState = 0;     // CheckServiceStatus
  int programRunning = 0;   // IsSyncProcessRunning
  int starterRunning = 0;   // IsStartSyncProcessRunning
  int startResult = 1;      // StartWindowsService
  int stopResult = 1;       // StopWindowsService
  int waitResult = 1;
  int setStartResult = 1;
  int setServiceResult = 1;
  bool launchResult = true;
  QSet<QString> failingSwitches;
  int answer = platform::IDYES;
  QStringList steps;
  QStringList log;

  int GetStartSyncStatus() override { return startSyncStatus; }
  int GetSyncServiceStatus() override { return syncServiceStatus; }
  int SetStartSyncStatus(int status) override {
    steps << QStringLiteral("StartSyncStatus %1").arg(status);
    if (setStartResult == 1) startSyncStatus = status;
    return setStartResult;
  }
  int SetSyncServiceStatus(int status) override {
    steps << QStringLiteral("SyncServiceStatus %1").arg(status);
    if (setServiceResult == 1) syncServiceStatus = status;
    return setServiceResult;
  }
  int CheckServiceStatus() override { return serviceState; }
  int StartWindowsService() override {
    steps << QStringLiteral("start service");
    return startResult;
  }
  int StopWindowsService() override {
    steps << QStringLiteral("stop service");
    return stopResult;
  }
  int IsSyncProcessRunning() override { return programRunning; }
  int IsStartSyncProcessRunning() override { return starterRunning; }
  int WaitForSyncProcessExit() override {
    steps << QStringLiteral("wait");
    return waitResult;
  }
  bool StartupShortCutExists() override { return shortcut; }
  bool CreateStartupShortCut() override {
    steps << QStringLiteral("create shortcut");
    shortcut = true;
    return true;
  }
  bool DeleteStartupShortCut() override {
    steps << QStringLiteral("delete shortcut");
    shortcut = false;
    return true;
  }
  bool LaunchStartSyncProgram() override {
    steps << QStringLiteral("launch starter");
    return launchResult;
  }
  bool RunServiceWrapper(const QString& switchText, const QString& workingFolder) override {
    steps << QStringLiteral("wrapper %1 in %2").arg(switchText, workingFolder);
    return !failingSwitches.contains(switchText);
  }
  int MessageBox(const QString& text, unsigned type) override {
    steps << QStringLiteral("box %1: %2").arg(type).arg(text);
    return (type & 0x0F) == platform::MB_YESNO ? answer : platform::IDOK;
  }
  void WriteLog(int code, const QString& text) override { log << QStringLiteral("<%1> %2").arg(code).arg(text); }
};
