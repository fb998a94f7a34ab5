#pragma once
// Window commands run as events of their own.
//
// A command that fails throws (a file that cannot be read or created, a text that is not a valid
// integer or date, a failing UDP port), and the application's notify() shows the error report. The
// command is delivered to notify() as an event of its own, at once, so that what it throws is
// caught right there and never unwinds through the frames of the click or key press that started
// it: those belong to Qt, which cleans up after events only when they return.

#include <QObject>
#include <functional>

// Runs command now, its errors going to the error report.
void RunCommand(const std::function<void()>& command);

// Connects a signal to a window's handler, run as a command.
template <typename Sender, typename Signal, typename Window>
void ConnectCommand(Sender* sender, Signal signal, Window* window, void (Window::*handler)()) {
  QObject::connect(sender, signal, window, [window, handler] { RunCommand([window, handler] { (window->*handler)(); }); });
}
