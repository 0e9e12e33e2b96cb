// The notification-area icon's click timing: a press arms a timer of one
// double-click time; a release seen before it runs out is reported as a
// click when the timer ends, unless a double click came meanwhile; a release
// after the timer has ended is reported at once. Portable: no Windows header.
#pragma once

struct TspTrayClicks {
  bool TimerRunning = false;
  bool ClickStart = false;
  bool ClickReady = false;
  bool IsDblClick = false;

  // The left button went down: the caller starts its timer.
  void LeftDown() {
    TimerRunning = true;
    ClickStart = true;
  }
  // The left button went up; true: report a click now.
  bool LeftUp() {
    bool Click = false;
    if (ClickStart) {
      ClickReady = true;
      if (!TimerRunning) {
        ClickStart = ClickReady = false;
        Click = true;
      }
    }
    ClickStart = false;
    return Click;
  }
  void DblClick() {
    ClickReady = false;
    IsDblClick = true;
  }
  // The timer ran out (the caller stops it); true: report a click now.
  bool Tick() {
    TimerRunning = false;
    const bool Click = !IsDblClick && ClickReady;
    if (Click) ClickReady = false;
    IsDblClick = false;
    return Click;
  }
};

// Text cut to at most N characters (the shell's fixed buffers).
template <class S>
S CutTo(const S& Text, size_t N) {
  return Text.size() <= N ? Text : Text.substr(0, N);
}
