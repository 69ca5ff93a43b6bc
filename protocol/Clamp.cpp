#include "Operations.h"
// stub until the protocol work lands
void OnIntervalChanged(MainWindow &) {}
void OnTimeoutChanged(MainWindow &) {}
