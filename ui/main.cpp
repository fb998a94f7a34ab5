#include "AppWindows.h"

int main(int argc, char** argv) { return RunTarvelo(argc, argv); }
