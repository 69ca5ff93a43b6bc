#pragma once

#include "Text.h"

#include <chrono>
#include <string>
#include <vector>

using namespace std::chrono_literals;

// What came back on the port, with the arrival time of each byte.
struct Received
{
    Text bytes;
    std::vector<std::chrono::steady_clock::time_point> times;
    bool hungUp = false; // the other side went away

    std::chrono::milliseconds LongestGap() const;
    std::chrono::milliseconds MedianGap() const;
    std::chrono::milliseconds Span() const; // first byte to last
};

// Opens a port the way the tool does: raw, 9600 8N1, pending input discarded.
int OpenRaw(const std::string &path);

// Reads until the line has been silent for `silence`, or nothing came
// within `firstByte`.
Received ReadReply(int fd, std::chrono::milliseconds silence = 150ms, std::chrono::milliseconds firstByte = 2s);

// Opens the port, sends the command, reads the reply and closes the port
// again, then leaves it closed a little, as the tool does between commands.
Received Exchange(const std::string &path, const Text &command, std::chrono::milliseconds silence = 150ms,
                  std::chrono::milliseconds firstByte = 2s);
