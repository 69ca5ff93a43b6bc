#pragma once

#include "Text.h"

struct AppState;
class MainWindow;

// One command and its reply: reopen the port, clear ResponseReady, show and
// send the command, wait. True with the reply when one came in time.
bool RunExchange(AppState &state, MainWindow &window, const Text &command, Text &reply);

// The reply published since ResponseReady was cleared, if any.
bool TakeReply(const AppState &state, const MainWindow &window, Text &reply);
