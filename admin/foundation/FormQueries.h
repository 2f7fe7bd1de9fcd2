#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace admin { class CDatabseConnection; }

// The questions the form pages ask of the settings database. A query that fails answers 0 or
// nothing. Titles are matched exactly, whatever quotes they hold; tab texts are searched whole.

// 1 when any status row of the form is live (StatusFlags.h).
int IsFormAssigned(const admin::CDatabseConnection& connection, int32_t formId);
// The identifier of the first form of that title; 0 when there is none.
int32_t GetFormIDByTitle(const admin::CDatabseConnection& connection, const QString& title);
// 1 when the profile has a form.
int ProfileHasForms(const admin::CDatabseConnection& connection, int32_t profileId);
// 1 when a form of that title is stored.
int IsFormTitleUsed(const admin::CDatabseConnection& connection, const QString& title);

// The searches of stored tab texts, on the application's settings connection `settings`; while
// it is not connected they answer 0 or nothing.

// 1 and the title of the first form that has a tab whose lookup control reads the profile;
// else 0. `title` is emptied first.
int FindFormUsingLookupProfile(const admin::CDatabseConnection& settings, int32_t profileId, QString* title);
// Appends the title and the profile number of every form but those titled `excludedTitle`,
// in row order.
void GetFormList(const admin::CDatabseConnection& settings, const QString& excludedTitle, QStringList* titles,
                 QStringList* profiles);
// 1 when a Go To Form button of some tab points at the form of that title; 0 for an empty title.
int IsGoToFormTarget(const admin::CDatabseConnection& settings, const QString& title);
// The title of the first form with a Go To Form button pointing at the form of that title;
// nothing when none points at it or the title is empty.
std::optional<QString> GetGoToFormSource(const admin::CDatabseConnection& settings, const QString& title);
// 1 when a Go To Form button points at any form of the profile.
int IsProfileFormGoToTarget(const admin::CDatabseConnection& settings, int32_t profileId);
