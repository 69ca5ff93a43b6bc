#include "Startup.h"
// stub until the window work lands
int ProgramStart(int, char **) { return 0; }
void OnMainWindowCreated(AppState &, MainWindow &) {}
void OnMainWindowDestroy(AppState &, MainWindow &) {}
