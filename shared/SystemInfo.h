#pragma once

#include "platform/os/OsVersion.h"

#include <QString>

#include <optional>

// What the version calls and two registry facts tell about the system; the input of the
// classification, so every Windows edition can be classified without running on it.
struct WindowsVersionRecord {
  platform::OsVersionInfo version;
  // ProductType under SYSTEM\CurrentControlSet\Control\ProductOptions; read only without the
  // extended record, absent when it cannot be read.
  std::optional<QString> productOptionsType;
  // The key of hotfix Q246009 exists (Service Pack 6a of NT 4.0).
  bool hotfixQ246009 = false;
};

// Classifies the operating system into one OS kind code (0 = not determined) and describes it
// in the block of eight lines that every program logs at start-up.
class SystemInfo {
 public:
  virtual ~SystemInfo() = default;

  // Reads the running system and classifies it; false when the version cannot be read.
  bool DetectWindowsVersion();
  // The classification itself; false when the record leaves the edition undecided.
  bool Classify(const WindowsVersionRecord& record);

  int OsKind() const { return m_nOsKind; }
  bool HasExtendedInfo() const { return m_bExtendedInfo; }
  QString ServicePackText() const { return m_strServicePack; }

  // The block: "<SystemOSDetails> " and eight items, each on a line of its own after a tab.
  QString DescribeSystem() const;

  // The printed name of an OS kind code; "Windows Unknown" for codes without one.
  static QString OsName(int kind);

 private:
  int BaseNtKind() const;
  int ExtendedNtKind(int baseKind) const;
  int ServerKind() const;
  int ProductOptionsKind(int baseKind, const QString& productType) const;
  QString NtServicePackText(bool hotfixQ246009) const;

  int m_nOsKind = 0;
  bool m_bExtendedInfo = false;
  QString m_strServicePack;
  platform::OsVersionInfo m_version;
};

// The block of the running system, as the programs log it at start-up (code -1).
QString SystemOSDetailsText();
