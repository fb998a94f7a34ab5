#pragma once
// On Windows tarvelo.exe is a window program, which has no console: what it prints (--help,
// --version, a command line it refuses) goes into the console of the command window it was
// started from, when there is one. Elsewhere this does nothing.
void UseTheCallersConsole();
