// Real X input for window tests: runs xdotool (the Unix program) against the
// test's X display and waits for it. Winelib test programs only.
#pragma once

#include <string>
#include <vector>

namespace lumigra_test {

// True when xdotool ran and succeeded.
bool Xdo(std::vector<std::string> Args);

}  // namespace lumigra_test
