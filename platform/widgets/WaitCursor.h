#pragma once

namespace platform {

// Shows the wait cursor over the application for its lifetime. Without a GUI application (the
// tests of the data layer, a console caller) it does nothing.
class WaitCursor {
 public:
  WaitCursor();
  ~WaitCursor();
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  bool m_bShown = false;
};

}  // namespace platform
