#pragma once

#include "AppState.h"
#include "MainWindow.h"
#include "Text.h"

#include <chrono>
#include <functional>
#include <vector>

// The tool's window wired as in the program, on the first port of the list,
// shown. Information boxes are answered at once and kept: a benchmark that
// meets one has not measured what it meant to.
struct BenchWindow
{
    BenchWindow();
    ~BenchWindow();

    AppState state;
    MainWindow window;
    std::vector<Text> messages;
};

// Handles events until done() holds; false when the timeout passes first.
bool HandleEventsUntil(const std::function<bool()> &done,
                       std::chrono::milliseconds timeout = std::chrono::seconds(5));

// Clicks ConnButton and checks that the tool is connected, or ends the
// benchmark.
void ConnectOrFail(BenchWindow &bench);
