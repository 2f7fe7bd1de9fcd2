#include "admin/profiles/ProfileNameCheck.h"

#include "admin/foundation/OdbcUtilities.h"

namespace {

constexpr qsizetype kLongestName = 31;

bool IsDeviceSampleName(const QString& name, ProfilePage page) {
  const Qt::CaseSensitivity sensitivity = page == ProfilePage::kTable ? Qt::CaseInsensitive : Qt::CaseSensitive;
  return name.compare(QStringLiteral("SampleDB"), sensitivity) == 0;
}

}  // namespace

QString CheckProfileName(const QString& name, ProfilePage page, const QString& editedName,
                         const std::function<bool(const QString&)>& profileExists) {
  const QString trimmed = name.trimmed();
  if (trimmed.isEmpty()) return QStringLiteral("Please, Enter Profile Name.");
  if (!IsNotSqlKeyword(trimmed)) return QStringLiteral("Please, Enter proper Profile Name other than SQL Keywords.");
  if (trimmed != editedName && profileExists(trimmed))
    return QStringLiteral("Profile already exist with the same name. Please, Enter another Profile Name.");
  if (trimmed.front() >= u'0' && trimmed.front() <= u'9')
    return QStringLiteral("Profile name must start with alphabetic character.");
  if (IsDeviceSampleName(trimmed, page))
    return QStringLiteral("Profile with same name already exist at Device. Please, Enter another Profile Name.");
  if (trimmed.size() > kLongestName)
    return QStringLiteral(
        "Profile name length must be less than 32 characters. Please, Enter another Profile Name.");
  return {};
}
