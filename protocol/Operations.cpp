#include "Operations.h"
// stub until the operations work lands
void OnReadClicked(AppState &, MainWindow &) {}
void OnSetClicked(AppState &, MainWindow &) {}
void OnSendClicked(AppState &, MainWindow &) {}
