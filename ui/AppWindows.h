#pragma once
// The start-up of the desktop program and its four windows.

class QApplication;

// Creates the four windows in their order, TFMain, TFEditor, TFConnect, TFInfo, each running its
// creation handler (TFConnect's creates the client socket and resets the connection state). The
// other three are owned by the main window and hidden. Nothing is shown.
void CreateWindows();

// Destroys the four windows (the main window takes the others with it).
void DestroyWindows();

// The whole program: socket library, application, title, style, windows, message loop.
int RunTarvelo(int argc, char** argv);
