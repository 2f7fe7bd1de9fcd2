#pragma once

#include "shared/data/ProfileRecord.h"
#include "shared/data/SourceKinds.h"

#include <QString>

#include <cstdint>

namespace data {

// What opening a profile's source takes, as its kind, Path, DB_DSN, tempPath and Query tell it.
struct ProfileSourcePlan {
  // The kind to connect as: an .xlsb or MySQL kind is connected as a data source name.
  uint8_t kind = sourcekind::kNamedDataSource;
  // The data source name, the folder (Path) of a dBase, text or csv source, or the file
  // (Path + DB_DSN) of any other kind.
  QString source;
  // A workbook read through its text export: `source` is the export folder (tempPath).
  bool workbookExport = false;
  // A workbook the workbook model opens rather than a driver: .xlsx, .xlsm, any other file.
  bool workbookModel = false;
  // The query calls a procedure: it does not start with "Select" (case-sensitive) and is not
  // the sheet name of an .xlsm profile.
  bool procedure = false;
};

// The plan for `profile` read as a source of kind `kind` (its DBType as a number).
ProfileSourcePlan PlanProfileSource(const ProfileRecord& profile, uint8_t kind);

}  // namespace data
