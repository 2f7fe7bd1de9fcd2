#include "sync/data/TurnInstallationPath.h"

#include "shared/RegistrySettings.h"

namespace {

thread_local const TurnInstallationPath* t_turn = nullptr;

}  // namespace

TurnInstallationPath::TurnInstallationPath() : m_strPath(GetInstallationPath()), m_pOuter(t_turn) { t_turn = this; }

TurnInstallationPath::~TurnInstallationPath() { t_turn = m_pOuter; }

QString TurnInstallationPath::Current() { return t_turn != nullptr ? t_turn->m_strPath : GetInstallationPath(); }
