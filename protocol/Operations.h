#pragma once

struct AppState;
class MainWindow;

void OnReadClicked(AppState &state, MainWindow &window);
void OnSetClicked(AppState &state, MainWindow &window);
void OnSendClicked(AppState &state, MainWindow &window);

// Content-changed handlers: hold the box to 0..10000.
void OnIntervalChanged(MainWindow &window);
void OnTimeoutChanged(MainWindow &window);
