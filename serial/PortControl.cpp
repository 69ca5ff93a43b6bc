#include "PortControl.h"
// stub until the serial work lands
void OnPortSelected(AppState &, MainWindow &) {}
void CloseLink(AppState &, MainWindow &) {}
bool ReopenPort(AppState &, MainWindow &) { return false; }
void SendCommand(AppState &, MainWindow &, const Text &) {}
