#pragma once

#include <QString>

// Texts several pages of the installer show.
namespace installer {

inline const QString kTitle = QStringLiteral("Tarnwick Plus Lite");
inline const QString kCheckingConnection = QStringLiteral("Checking internet connection...");
inline const QString kCheckingStatus = QStringLiteral("Checking internet connection...\r\nPlease wait...");
inline const QString kConnectedStatus =
    QStringLiteral("Successfully connected to internet, Click 'Next' to continue...");
inline const QString kConnectionProblemStatus =
    QStringLiteral("Problem in internet connection, Please Check your internet settings.");
inline const QString kConnectionProblemBox =
    QStringLiteral("Problem in internet connection, please check your internet settings.");
inline const QString kUseProxyBox = QStringLiteral(
    "Problem in internet connection, if you using Proxy Server then select \"Use Proxy Server\" option.");

}  // namespace installer
