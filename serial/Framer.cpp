#include "Framer.h"
// stub until the serial work lands
void OnSerialByte(AppState &, MainWindow &, int) {}
int IsThreadRunning(const AppState &) { return -1; }
void StopWatchThread(AppState &) {}
