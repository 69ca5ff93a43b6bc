#include "Startup.h"
void RefreshPortList(MainWindow &) {}
