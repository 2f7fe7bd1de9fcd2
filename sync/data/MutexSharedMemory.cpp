#include "sync/data/MutexSharedMemory.h"

#include "shared/Endian.h"

#include <QByteArray>

#include <chrono>
#include <thread>

using namespace endian;

namespace {

constexpr uint32_t kCountOffset = 0;
constexpr uint32_t kSizeOffset = 4;
constexpr uint32_t kFirstVariable = 8;
constexpr uint32_t kNameBytes = 80;
constexpr uint32_t kHeadBytes = kNameBytes + 4;
constexpr qsizetype kMaxNameLength = 39;
constexpr std::chrono::milliseconds kWaitSlice{50};

QByteArray NameBytes(const QString& name) {
  QByteArray bytes(kNameBytes, '\0');
  for (qsizetype i = 0; i < name.size() && i < kMaxNameLength; ++i)
    WriteLE<uint16_t>(Bytes(bytes) + 2 * i, name.at(i).unicode());
  return bytes;
}

}  // namespace

CMutexSharedMemory::CMutexSharedMemory(bool addNoDeviceId, const QString& mappingName, uint32_t size,
                                       const CreatedCallback& onCreated) {
  m_pTable = std::make_unique<platform::SharedMemoryFile>(mappingName, size);
  if (!m_pTable->IsOpen()) {
    m_nLastError = m_pTable->OpenError();
    return;
  }
  m_strName = mappingName;
  if (!Initialise(size, onCreated)) return;
  if (addNoDeviceId) AddVariable(QStringLiteral("NoDeviceID"), 0);
}

bool CMutexSharedMemory::Initialise(uint32_t size, const CreatedCallback& onCreated) {
  {
    const platform::SharedMemoryFile::Guard guard(*m_pTable);
    uint8_t stored[4] = {};
    if (m_pTable->Created()) {
      WriteLE<uint32_t>(stored, size);
      if (!guard.Held() || !m_pTable->Write(kSizeOffset, stored, sizeof stored)) return Fail(kErrorNotInitialised) != 0;
      m_nSize = size;
    } else {
      if (!guard.Held() || !m_pTable->Read(kSizeOffset, stored, sizeof stored)) return Fail(kErrorNotInitialised) != 0;
      m_nSize = ReadLE<uint32_t>(stored);
    }
    m_bInitialised = true;
  }
  if (m_pTable->Created() && onCreated) onCreated(*this);
  return true;
}

int CMutexSharedMemory::Fail(int error) {
  m_nLastError = error;
  return 0;
}

uint32_t CMutexSharedMemory::VariableCount() const {
  uint8_t count[4] = {};
  return m_pTable->Read(kCountOffset, count, sizeof count) ? ReadLE<uint32_t>(count) : 0;
}

// Walks the variables in table order. A head or value that would reach past the table's size
// ends the walk, so a damaged count or size never leads a read outside the table.
std::optional<CMutexSharedMemory::Slot> CMutexSharedMemory::FindVariable(const QString& name, uint32_t* end) const {
  const QByteArray wanted = NameBytes(name);
  const uint32_t count = VariableCount();
  uint64_t offset = kFirstVariable;
  std::optional<Slot> found;
  for (uint32_t i = 0; i < count; ++i) {
    QByteArray head(kHeadBytes, '\0');
    if (offset + kHeadBytes > m_nSize || !m_pTable->Read(static_cast<uint32_t>(offset), head.data(), kHeadBytes)) break;
    const uint32_t valueSize = ReadLE<uint32_t>(Bytes(head) + kNameBytes);
    if (offset + kHeadBytes + valueSize > m_nSize) break;
    if (!found && name.size() <= kMaxNameLength && head.left(kNameBytes) == wanted)
      found = Slot{static_cast<uint32_t>(offset), valueSize};
    offset += kHeadBytes + valueSize;
  }
  if (end) *end = static_cast<uint32_t>(offset);
  return found;
}

int CMutexSharedMemory::AddVariable(const QString& name, int32_t value) {
  uint8_t bytes[4] = {};
  WriteLE<uint32_t>(bytes, static_cast<uint32_t>(value));
  return AddVariable(name, QByteArrayView(bytes, sizeof bytes));
}

int CMutexSharedMemory::AddVariable(const QString& name, QByteArrayView value) {
  if (!m_bInitialised) return Fail(kErrorNotInitialised);
  const platform::SharedMemoryFile::Guard guard(*m_pTable);
  if (value.isEmpty()) return Fail(kErrorZeroSize);
  if (name.size() > kMaxNameLength) return Fail(kErrorNameTooLong);
  uint32_t end = 0;
  if (FindVariable(name, &end)) return Fail(kErrorExists);
  if (uint64_t{end} + kHeadBytes + static_cast<uint64_t>(value.size()) > m_nSize) return Fail(kErrorTableFull);
  QByteArray record = NameBytes(name);
  AppendLE<uint32_t>(&record, static_cast<uint32_t>(value.size()));
  record.append(value.data(), value.size());
  uint8_t count[4] = {};
  WriteLE<uint32_t>(count, VariableCount() + 1);
  if (!m_pTable->Write(end, record.constData(), static_cast<uint32_t>(record.size())) ||
      !m_pTable->Write(kCountOffset, count, sizeof count))
    return Fail(kErrorTableFull);
  return 1;
}

int CMutexSharedMemory::VariableExists(const QString& name) {
  if (!m_bInitialised) return Fail(kErrorNotInitialised);
  const platform::SharedMemoryFile::Guard guard(*m_pTable);
  return FindVariable(name) ? 1 : 0;
}

int CMutexSharedMemory::GetVariable(const QString& name, void* buffer, uint32_t* size) {
  if (!m_bInitialised) return Fail(kErrorNotInitialised);
  const platform::SharedMemoryFile::Guard guard(*m_pTable);
  const std::optional<Slot> slot = FindVariable(name);
  if (!slot) return Fail(kErrorNotFound);
  const uint32_t room = *size;
  *size = slot->valueSize;
  if (!buffer) return 1;
  if (room < slot->valueSize) return Fail(kErrorBufferTooSmall);
  return m_pTable->Read(slot->headOffset + kHeadBytes, buffer, slot->valueSize) ? 1 : Fail(kErrorNotFound);
}

int32_t CMutexSharedMemory::GetVariableValue(const QString& name, int32_t defaultValue) {
  uint8_t bytes[4] = {};
  uint32_t size = sizeof bytes;
  if (!GetVariable(name, bytes, &size) || size != sizeof bytes) return defaultValue;
  return ReadInt32LE(bytes);
}

int CMutexSharedMemory::SetVariableValue(const QString& name, int32_t value, int32_t* oldValue) {
  if (!m_bInitialised) return Fail(kErrorNotInitialised);
  const platform::SharedMemoryFile::Guard guard(*m_pTable);
  const std::optional<Slot> slot = FindVariable(name);
  if (!slot) return Fail(kErrorNotFound);
  if (slot->valueSize != 4) return Fail(kErrorWrongSize);
  const uint32_t valueOffset = slot->headOffset + kHeadBytes;
  uint8_t bytes[4] = {};
  if (oldValue) {
    if (!m_pTable->Read(valueOffset, bytes, sizeof bytes)) return Fail(kErrorNotFound);
    *oldValue = ReadInt32LE(bytes);
  }
  WriteInt32LE(bytes, value);
  return m_pTable->Write(valueOffset, bytes, sizeof bytes) ? 1 : Fail(kErrorNotFound);
}

// A variable's event is its value changing; waiters look in short slices, so a wait can be
// given up and no wake-up is lost between a look and a sleep.
int32_t CMutexSharedMemory::WaitForVariable(const QString& name, uint32_t timeoutMs,
                                            const std::function<bool()>& giveUp) {
  const std::optional<QByteArray> start = ReadValue(name);
  if (!start) {
    m_nLastError = kErrorNotFound;
    return -1;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (ReadValue(name) != start) return kWaitSignalled;
    if ((timeoutMs != kInfinite && std::chrono::steady_clock::now() >= deadline) || (giveUp && giveUp()))
      return kWaitTimeout;
    std::this_thread::sleep_for(kWaitSlice);
  }
}

// Variables are never removed or resized, so the size read first still holds for the copy.
std::optional<QByteArray> CMutexSharedMemory::ReadValue(const QString& name) {
  uint32_t size = 0;
  if (!GetVariable(name, nullptr, &size)) return std::nullopt;
  QByteArray value(size, '\0');
  if (!GetVariable(name, value.data(), &size)) return std::nullopt;
  return value;
}
