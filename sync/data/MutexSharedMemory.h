#pragma once

#include "platform/files/SharedMemoryFile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

// A named table of small named variables that the threads of this program and other programs
// share: a count, the table's size, then per variable an 84-byte head (the name as UTF-16 of at
// most 39 characters and a 0 unit, zero-filled to 80 bytes, then the value size) and the value.
// Variables are never removed. Every operation runs under the table's guard and records its
// failure as a Windows error code in LastError().
class CMutexSharedMemory {
 public:
  static constexpr int kErrorNotFound = 2;
  static constexpr int kErrorWrongSize = 13;
  static constexpr int kErrorTableFull = 14;
  static constexpr int kErrorZeroSize = 24;
  static constexpr int kErrorBufferTooSmall = 122;
  static constexpr int kErrorExists = 183;
  static constexpr int kErrorNameTooLong = 1743;
  static constexpr int kErrorNotInitialised = 4312;

  static constexpr int32_t kWaitSignalled = 0;
  static constexpr int32_t kWaitTimeout = 258;
  static constexpr uint32_t kInfinite = 0xFFFFFFFF;

  using CreatedCallback = std::function<void(CMutexSharedMemory&)>;

  // Opens the table `mappingName`, creating it zeroed with `size` bytes when no one has it open
  // (`onCreated` then runs once, outside the guard); an existing table keeps the size its
  // creator gave it. With `addNoDeviceId` the variable "NoDeviceID" = 0 is added.
  CMutexSharedMemory(bool addNoDeviceId, const QString& mappingName, uint32_t size,
                     const CreatedCallback& onCreated = {});

  int IsInitialised() const { return m_bInitialised ? 1 : 0; }
  int LastError() const { return m_nLastError; }
  uint32_t Size() const { return m_nSize; }

  int AddVariable(const QString& name, int32_t value);
  int AddVariable(const QString& name, QByteArrayView value);
  int VariableExists(const QString& name);
  // Copies the value into `buffer` (of *size bytes) and sets *size to the value's size; with no
  // buffer only the size is told.
  int GetVariable(const QString& name, void* buffer, uint32_t* size);
  int32_t GetVariableValue(const QString& name, int32_t defaultValue);
  int SetVariableValue(const QString& name, int32_t value, int32_t* oldValue = nullptr);
  // Waits until the variable's value changes: kWaitSignalled, kWaitTimeout (also when `giveUp`
  // answers true between two slices), or -1 when there is no such variable.
  int32_t WaitForVariable(const QString& name, uint32_t timeoutMs,
                          const std::function<bool()>& giveUp = {});

 private:
  struct Slot {
    uint32_t headOffset = 0;
    uint32_t valueSize = 0;
  };
  // The variable's slot under the guard; nothing when absent. `end` gets the offset behind the
  // last variable that lies whole inside the table.
  std::optional<Slot> FindVariable(const QString& name, uint32_t* end = nullptr) const;
  uint32_t VariableCount() const;
  std::optional<QByteArray> ReadValue(const QString& name);
  int Fail(int error);
  bool Initialise(uint32_t size, const CreatedCallback& onCreated);

  std::unique_ptr<platform::SharedMemoryFile> m_pTable;
  QString m_strName;
  uint32_t m_nSize = 0;
  bool m_bInitialised = false;
  int m_nLastError = 0;
};
