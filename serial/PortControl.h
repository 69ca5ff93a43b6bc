#pragma once

#include "Text.h"

struct AppState;
class MainWindow;

// Item-selected handler of PortCombo: store the chosen port; reopen at once
// while connected.
void OnPortSelected(AppState &state, MainWindow &window);

// Drops the connection: port closed, LinkOpen 0, "CONN" on ConnButton.
void CloseLink(AppState &state, MainWindow &window);

// Close, wait 200 ms, open. A failed open shows "串口CONN失败" and drops the
// connection. True when the port is open again.
bool ReopenPort(AppState &state, MainWindow &window);

// Shows the command in SendTextEdit, empties ReceiveTextEdit and sends it.
void SendCommand(AppState &state, MainWindow &window, const Text &command);
