#pragma once

struct AppState;
class MainWindow;

// Data handler of the serial port: stores the byte and makes sure a worker
// watches for the 40 ms of silence that end the reply.
void OnSerialByte(AppState &state, MainWindow &window, int value);

// 1 while the given worker still runs, 0 once it has ended, -1 for none.
int IsThreadRunning(const AppState &state);

// Asks the worker to stop, waits for it, and makes sure it publishes nothing.
// Used when the window goes.
void StopWatchThread(AppState &state);
