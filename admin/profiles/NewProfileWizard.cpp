#include "admin/profiles/NewProfileWizard.h"

#include "admin/foundation/AppLog.h"
#include "admin/profiles/ProfileBuildQueryForProcPage.h"
#include "admin/profiles/ProfileBuildQueryPage.h"
#include "admin/profiles/ProfileDatabaseConnectionPage.h"

namespace {

constexpr int kModeLogCode = -11;

}  // namespace

CNewProfileWizard::CNewProfileWizard(int mode, int kind, QWidget* parent)
    : CWizardSheet(QStringLiteral("Wizard"), parent),
      m_draft(mode == kEditMode),
      m_DatabaseConnectionPage(new CProfileDatabaseConnectionPage(this, m_draft)),
      m_nMode(mode),
      m_nKind(kind),
      m_pBuildQueryPage(new CProfileBuildQueryPage(this, m_draft)),
      m_pBuildQueryForProcPage(new CProfileBuildQueryForProcPage(this, m_draft)) {
  m_DatabaseConnectionPage->hide();
  m_pBuildQueryPage->hide();
  m_pBuildQueryForProcPage->hide();
  connect(&m_draft, &ProfileDraft::KindChosen, this, &CNewProfileWizard::KeepPageOfKind);
  connect(&m_draft, &ProfileDraft::KindCleared, this, &CNewProfileWizard::RestoreRemovedPage);
  if (mode != kEditMode) {
    AddPage(m_DatabaseConnectionPage);
    AddPage(m_pBuildQueryPage);
    AddPage(m_pBuildQueryForProcPage);
  } else if (kind == kTableKind) {
    WriteAppLog(kModeLogCode, QStringLiteral("Type: Table/View Profile"));
    AddPage(m_pBuildQueryPage);
  } else {
    WriteAppLog(kModeLogCode, QStringLiteral("Type: Stored Procedure"));
    AddPage(m_pBuildQueryForProcPage);
  }
  SetButtonsForMode(mode == kEditMode);
}

CNewProfileWizard::~CNewProfileWizard() = default;

void CNewProfileWizard::KeepPageOfKind(bool procedure) {
  m_pRemovedPage = procedure ? static_cast<CWizardSheetPage*>(m_pBuildQueryPage) : m_pBuildQueryForProcPage;
  RemovePage(m_pRemovedPage);
}

void CNewProfileWizard::RestoreRemovedPage() {
  if (m_pRemovedPage != nullptr) AddPage(m_pRemovedPage);
  m_pRemovedPage = nullptr;
}
