#pragma once

#include <functional>
#include <vector>

struct AppState;
struct ComPortEntry;
class MainWindow;

// The program: window, event loop, exit status 0.
int ProgramStart(int argc, char **argv);

// What ProgramStart does once the window toolkit is up: the receive buffer and
// its release at program end, the window, the event loop. Returns 0.
int RunProgram();

void OnMainWindowCreated(AppState &state, MainWindow &window);
void OnMainWindowDestroy(AppState &state, MainWindow &window);

// The user has closed the window. Everything still running unwinds: delays
// end at once, no information box shows any more, no received byte is
// handled, the receive worker stops. The window itself stays until the event
// loop has ended.
void OnMainWindowClosing(AppState &state, MainWindow &window);

// Rebuilds PortCombo from the ports present now and selects the first.
void RefreshPortList(MainWindow &window);

// Tests hand RefreshPortList a list of their own instead of the system's;
// nullptr restores EnumerateComPorts.
void SetPortEnumerator(std::function<void(std::vector<ComPortEntry> &)> enumerate);

// Connects every control event to its handler.
void WireMainWindow(AppState &state, MainWindow &window);
