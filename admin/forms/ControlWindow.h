#pragma once

#include <QPointer>
#include <QWidget>

// The designer window of one form control, owned by the control's record: destroying or
// replacing the record destroys the window. The window also has a parent widget; when the
// parent goes first and takes its children with it, the guard sees the window gone and
// nothing is deleted twice.
class ControlWindow {
 public:
  ControlWindow() = default;
  explicit ControlWindow(QWidget* window) : m_window(window) {}
  ~ControlWindow() { delete m_window.data(); }
  ControlWindow(const ControlWindow&) = delete;
  ControlWindow& operator=(const ControlWindow&) = delete;
  ControlWindow(ControlWindow&& other) noexcept : m_window(other.Release()) {}
  ControlWindow& operator=(ControlWindow&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  QWidget* Get() const { return m_window.data(); }
  explicit operator bool() const { return !m_window.isNull(); }

  // Destroys the window held, then holds `window`.
  void Reset(QWidget* window = nullptr) {
    QWidget* old = m_window.data();
    m_window = window;
    delete old;
  }

  QWidget* Release() {
    QWidget* window = m_window.data();
    m_window.clear();
    return window;
  }

 private:
  QPointer<QWidget> m_window;
};
