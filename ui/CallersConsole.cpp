#include "ui/CallersConsole.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#endif

void UseTheCallersConsole() {
#ifdef _WIN32
  // A program started with its output redirected has handles already: they stay.
  const bool hasOut = GetStdHandle(STD_OUTPUT_HANDLE) != nullptr;
  const bool hasErr = GetStdHandle(STD_ERROR_HANDLE) != nullptr;
  if ((hasOut && hasErr) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
  if (!hasOut) (void)!std::freopen("CONOUT$", "w", stdout);
  if (!hasErr) (void)!std::freopen("CONOUT$", "w", stderr);
#endif
}
