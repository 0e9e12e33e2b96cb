#include "common/Xdo.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

#include <windows.h>

extern char** environ;

namespace lumigra_test {

bool Xdo(std::vector<std::string> Args) {
  Args.insert(Args.begin(), "xdotool");
  std::vector<char*> Argv;
  for (std::string& A : Args) Argv.push_back(A.data());
  Argv.push_back(nullptr);
  pid_t Pid = 0;
  if (posix_spawnp(&Pid, "xdotool", nullptr, nullptr, Argv.data(), environ) != 0) return false;
  int Status = 0;
  pid_t Got;
  do Got = waitpid(Pid, &Status, 0);
  while (Got < 0 && errno == EINTR);
  if (Got == Pid) return WIFEXITED(Status) && WEXITSTATUS(Status) == 0;
  // Wine reaped the child itself: it has ended once it is gone.
  const DWORD Start = GetTickCount();
  while (kill(Pid, 0) == 0) {
    if (GetTickCount() - Start > 5000) return false;
    Sleep(2);
  }
  return true;
}

}  // namespace lumigra_test
