#include "admin/profiles/ProfileDraft.h"

#include "admin/foundation/DBConnManager.h"

ProfileDraft::ProfileDraft(bool editMode)
    : m_bEditMode(editMode), m_pDBConnManager(std::make_unique<CDBConnManager>()) {}

ProfileDraft::~ProfileDraft() = default;

void ProfileDraft::ReplaceConnManager() { m_pDBConnManager = std::make_unique<CDBConnManager>(); }

void ProfileDraft::ChooseKind(bool procedure) {
  m_bKindChosen = true;
  Q_EMIT KindChosen(procedure);
}

void ProfileDraft::ClearKind() {
  m_bKindChosen = false;
  Q_EMIT KindCleared();
}
