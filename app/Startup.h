#pragma once

struct AppState;
class MainWindow;

// The program: window, event loop, exit status 0.
int ProgramStart(int argc, char **argv);

void OnMainWindowCreated(AppState &state, MainWindow &window);
void OnMainWindowDestroy(AppState &state, MainWindow &window);

// Rebuilds PortCombo from the ports present now and selects the first.
void RefreshPortList(MainWindow &window);

// Connects every control event to its handler.
void WireMainWindow(AppState &state, MainWindow &window);
