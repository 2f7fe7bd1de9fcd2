#pragma once

#include <QString>

// The tables of the settings database (UserProfileDB.mdb) the programs read and write, as their
// SQL names them. The columns are listed in db/UserProfileDB.sql.

namespace settingsdb {

inline const QString kProfileInfo = QStringLiteral("ProfileInfo");
inline const QString kUserProfileStatus = QStringLiteral("UserProfileStatus");
inline const QString kFormInfo = QStringLiteral("FormInfo");
inline const QString kFormDetails = QStringLiteral("FormDetails");
inline const QString kUserFormStatus = QStringLiteral("UserFormStatus");
inline const QString kUserPasswordStatus = QStringLiteral("UserPasswordStatus");
inline const QString kUserInfo = QStringLiteral("UserInfo");
inline const QString kAckFromDesktopTable = QStringLiteral("AckFromDesktopTable");

}  // namespace settingsdb
