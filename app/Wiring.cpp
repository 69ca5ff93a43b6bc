#include "Startup.h"
void WireMainWindow(AppState &, MainWindow &) {}
