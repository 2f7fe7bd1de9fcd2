#include "sync/data/SettingsTableHandler.h"

#include "sync/data/WholeText.h"

QString SettingsTableHandler::GetWholeText(int16_t column) {
  if (!IsOpen() || !HasColumn(column)) return {};
  return syncservice::ReadWholeText(Statement(), static_cast<SQLUSMALLINT>(column + 1), &m_nLastReturnCode);
}
