#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace admin { class CDatabseConnection; }

// One stored form as the form list reads it: with the name of its profile and its whole
// form-level text.
struct FormListRow {
  int32_t FormID = 0;
  QString FormTitle;
  QString ProfileName;
  QString FormText;
};

// Every stored form whose profile is stored, in the order the settings database gives them;
// nothing when the query fails. The statement is freed before this returns.
std::vector<FormListRow> ReadFormListRows(const admin::CDatabseConnection& settings);
