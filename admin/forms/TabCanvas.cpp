#include "admin/forms/TabCanvas.h"

namespace {

constexpr int kRoomBelow = 100;
constexpr int kNearEnd = 20;

}  // namespace

CTabCanvas::CTabCanvas(int visibleHeight) : m_nVisibleHeight(visibleHeight), m_nReach(visibleHeight) {}

void CTabCanvas::Grow() {
  m_nReach += m_nVisibleHeight;
  ++m_nGrowthCount;
}

bool CTabCanvas::GrowForControl(int offset, int controlBottom) {
  if (m_nVisibleHeight <= 0) return false;
  if (MaxPosition() >= offset + kNearEnd || m_nVisibleHeight >= controlBottom + kRoomBelow) return false;
  Grow();
  return true;
}

bool CTabCanvas::ExtendFor(int controlBottom) {
  if (m_nVisibleHeight <= 0 || m_nReach >= controlBottom + kRoomBelow) return false;
  while (m_nReach < controlBottom + kRoomBelow) Grow();
  return true;
}
