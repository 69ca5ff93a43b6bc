#pragma once

struct AppState;
class MainWindow;

// Waits up to 100 steps of 20 ms for ResponseReady.
void WaitForReply(AppState &state);

void ToggleConnection(AppState &state, MainWindow &window);
void EnsureConnected(AppState &state, MainWindow &window);
void Connect(AppState &state, MainWindow &window);
int Handshake(AppState &state, MainWindow &window); // 0 ok, 1 refused, 2 silent
void Disconnect(AppState &state, MainWindow &window);
void DisableButtons(MainWindow &window);
void EnableButtons(MainWindow &window);
void ResetToIdle(AppState &state, MainWindow &window);
