#include "sync/data/ExcelLock.h"

#include "sync/data/MutexSharedMemory.h"

ExcelLock::ExcelLock(CMutexSharedMemory* table)
    : m_pTable(table), m_lock(QStringLiteral("MSEXCEL")) {}

ExcelLock::~ExcelLock() { Release(); }

bool ExcelLock::Take(const std::function<bool()>& giveUp) {
  if (!m_lock.Acquire(giveUp)) return false;
  Mirror(1);
  return true;
}

void ExcelLock::Release() {
  if (!m_lock.Held()) return;
  Mirror(0);
  m_lock.Release();
}

void ExcelLock::Mirror(int32_t value) {
  if (m_pTable && m_pTable->IsInitialised()) m_pTable->SetVariableValue(QString::fromUtf16(kVariableName), value);
}
