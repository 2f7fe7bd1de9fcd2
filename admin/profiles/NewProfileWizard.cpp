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
      m_DatabaseConnectionPage(new CProfileDatabaseConnectionPage(this)),
      m_nMode(mode),
      m_nKind(kind),
      m_pBuildQueryPage(new CProfileBuildQueryPage(this)),
      m_pBuildQueryForProcPage(new CProfileBuildQueryForProcPage(this)) {
  m_DatabaseConnectionPage->hide();
  m_pBuildQueryPage->hide();
  m_pBuildQueryForProcPage->hide();
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
