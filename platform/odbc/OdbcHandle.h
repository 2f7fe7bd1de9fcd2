#pragma once

#include <sql.h>

#include <utility>

namespace platform {

// Owns one ODBC handle of one type and frees it on destruction, so that no failure path leaks a
// handle or leaves a freed one behind: a moved-from or reset owner holds no handle.
class OdbcHandle {
 public:
  OdbcHandle() = default;
  OdbcHandle(SQLSMALLINT type, SQLHANDLE handle) : type_(type), handle_(handle) {}
  ~OdbcHandle() { reset(); }
  OdbcHandle(OdbcHandle&& other) noexcept
      : type_(other.type_), handle_(std::exchange(other.handle_, nullptr)) {}
  OdbcHandle& operator=(OdbcHandle&& other) noexcept {
    if (this != &other) {
      reset();
      type_ = other.type_;
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  OdbcHandle(const OdbcHandle&) = delete;
  OdbcHandle& operator=(const OdbcHandle&) = delete;

  // A fresh ODBC 3 environment; unixODBC is pointed at the machine root first.
  static OdbcHandle NewEnvironment();
  // A fresh handle of `type` below `parent`; empty when the allocation fails.
  static OdbcHandle Allocate(SQLSMALLINT type, SQLHANDLE parent);

  SQLHANDLE get() const { return handle_; }
  SQLSMALLINT type() const { return type_; }
  explicit operator bool() const { return handle_ != SQL_NULL_HANDLE; }

  void reset();

 private:
  SQLSMALLINT type_ = 0;
  SQLHANDLE handle_ = SQL_NULL_HANDLE;
};

}  // namespace platform
