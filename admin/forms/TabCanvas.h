#pragma once

// How far one tab's canvas reaches down and how far it is scrolled. Positions are the scroll
// bar's: 0 at the top, at most the reach less the visible height.
class CTabCanvas {
 public:
  // A canvas as high as the visible one.
  explicit CTabCanvas(int visibleHeight = 0);

  int GrowthCount() const { return m_nGrowthCount; }
  // The whole height the tab's controls may use, the visible part included.
  int Reach() const { return m_nReach; }
  int MaxPosition() const { return m_nReach > m_nVisibleHeight ? m_nReach - m_nVisibleHeight : 0; }
  int VisibleHeight() const { return m_nVisibleHeight; }

  // After a control was placed, moved or resized at `controlBottom` (from the visible canvas's
  // top): when the canvas is scrolled to within 20 pixels of its end and the control comes
  // within 100 pixels of the visible bottom, the canvas grows by a visible height. True when
  // it grew.
  bool GrowForControl(int offset, int controlBottom);
  // A stored control whose bottom (from the unscrolled canvas's top) lies within 100 pixels
  // of the end grows the canvas by a visible height. True when it grew.
  bool ExtendFor(int controlBottom);

  // The offset a scroll to `position` gives: never below 0.
  static int ScrollTo(int position) { return position < 0 ? 0 : position; }
  // "V" scrolls down 5 pixels, "A" up 5, but not above the top.
  static int ScrollDown(int offset) { return offset + kArrowScroll; }
  static int ScrollUp(int offset) { return offset >= kArrowScroll ? offset - kArrowScroll : 0; }

  static constexpr int kArrowScroll = 5;

 private:
  void Grow();

  int m_nVisibleHeight;
  int m_nReach;
  int m_nGrowthCount = 2;
};
