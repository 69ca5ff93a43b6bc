#pragma once

#include "Text.h"

class MainWindow;

// Runs arbitrary bytes through reply splitting and parsing and the text
// helpers. False when a result breaks a rule the rest of the tool relies on.
// The window's two number boxes must have their clamps connected.
bool FeedReplyBytes(MainWindow &window, const Text &bytes);

// The window with both clamps connected, as the fuzzer and its replay use it.
void ConnectClamps(MainWindow &window);
