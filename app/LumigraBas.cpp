// The main program block of Lumigra Basic.
#include <windows.h>

#include <cstdio>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  // The editor's main window does not exist yet: the program block ends here.
  std::fputs("LumigraBas: the main window is not built yet; nothing to show.\n", stderr);
  return 0;
}
