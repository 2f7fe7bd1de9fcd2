#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// A machine root set up as an installation of the sync program, and its logs.
namespace synctest {

// Makes "<root>/install/Desktop Files/Logs" and stores the folder as InstallationPath; returns it.
QString PrepareInstallation();

void SetSettingsDword(const QString& name, uint32_t value);

// Seals `plain` and stores it as `name` under the record key.
void StoreSealedRecord(const QString& name, const QByteArray& plain);

// Today's log folder under the installation.
QString TodaysLogFolder();

// The text of one of today's logs after its byte-order mark; empty when there is no such file.
QString ReadLog(const QString& fileName);

}  // namespace synctest
