#include "Connection.h"
// stub until the connection work lands
void WaitForReply(AppState &) {}
void ToggleConnection(AppState &, MainWindow &) {}
void EnsureConnected(AppState &, MainWindow &) {}
void Connect(AppState &, MainWindow &) {}
int Handshake(AppState &, MainWindow &) { return 2; }
void Disconnect(AppState &, MainWindow &) {}
void DisableButtons(MainWindow &) {}
void EnableButtons(MainWindow &) {}
void ResetToIdle(AppState &, MainWindow &) {}
