#include "shared/data/ProfileSourcePlan.h"

namespace data {

namespace {

uint8_t ConnectionKind(uint8_t kind) {
  return kind == sourcekind::kXlsbOrMySql ? sourcekind::kNamedDataSource : kind;
}

bool ReadsWorkbookExport(const ProfileRecord& profile, uint8_t kind) {
  return kind == sourcekind::kTxt && profile.tempPath != profile.Path;
}

QString SourceText(const ProfileRecord& profile, uint8_t kind) {
  if (kind == sourcekind::kNamedDataSource) return profile.DB_DSN;
  if (ReadsWorkbookExport(profile, kind)) return profile.tempPath;
  if (IsFolderSourceKind(kind)) return profile.Path;
  return profile.Path + profile.DB_DSN;
}

bool OpensThroughWorkbookModel(uint8_t kind) {
  return kind == sourcekind::kXlsx || kind == sourcekind::kXlsm || kind == sourcekind::kOtherFile;
}

}  // namespace

ProfileSourcePlan PlanProfileSource(const ProfileRecord& profile, uint8_t kind) {
  ProfileSourcePlan plan;
  plan.kind = ConnectionKind(kind);
  plan.source = SourceText(profile, plan.kind);
  plan.workbookExport = ReadsWorkbookExport(profile, plan.kind);
  plan.workbookModel = OpensThroughWorkbookModel(plan.kind);
  plan.procedure = !profile.Query.startsWith(QStringLiteral("Select")) && plan.kind != sourcekind::kXlsm;
  return plan;
}

}  // namespace data
