// The notification-area icon's click timing as a table of event sequences:
// which step reports a click, for single and double clicks, releases after
// the timer, and presses without a release; and the shell's text limits.
#include "common/gtest.h"

#include <string>

#include "skin/controls/SkinTrayClicks.h"

namespace {

// D press, U release, B double click, T the timer running out. The result
// marks each step that reports a click with '!' (else '.').
std::string Clicks(const std::string& Steps) {
  TspTrayClicks C;
  std::string Out;
  for (char S : Steps) {
    bool Click = false;
    switch (S) {
      case 'D':
        C.LeftDown();
        break;
      case 'U':
        Click = C.LeftUp();
        break;
      case 'B':
        C.DblClick();
        break;
      case 'T':
        Click = C.Tick();
        break;
    }
    Out += Click ? '!' : '.';
  }
  return Out;
}

TEST(TrayClicks, Sequences) {
  struct Row {
    const char* Steps;
    const char* Clicks;
  };
  const Row Rows[] = {
      {"DUT", "..!"},        // a click, reported when the double-click time is over
      {"DUBUT", "....."},    // a double click: never a click
      {"DTU", "..!"},        // released after the time: at once
      {"DT", ".."},          // held: nothing
      {"DUTDUT", "..!..!"},  // two slow clicks
      {"DUBUTDUT", ".......!"},  // the double click does not swallow the next click
      {"UT", ".."},          // a release without a press
  };
  for (const Row& R : Rows) EXPECT_EQ(Clicks(R.Steps), R.Clicks) << R.Steps;
}

TEST(TrayClicks, TextsAreCutToTheShellsBuffers) {
  EXPECT_EQ(CutTo(std::u16string(300, u'x'), 255).size(), 255u);
  EXPECT_EQ(CutTo(std::u16string(u"short"), 63), u"short");
  EXPECT_EQ(CutTo(std::u16string(), 127), u"");
}

}  // namespace
