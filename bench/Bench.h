#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

// What every benchmark shares: the protocol's fixed times, the statistics and
// one row of the Markdown table that scripts/bench prints.

using Clock = std::chrono::steady_clock;

// Ten bits a byte at 9600 baud.
constexpr double ByteMs = 10.0 * 1000.0 / 9600.0;
// The pause between closing and opening the port before every command.
constexpr double ReopenMs = 200.0;
// The silence that ends a reply.
constexpr double SilenceMs = 40.0;
// The reply wait looks at the flag after every step of this length.
constexpr double StepMs = 20.0;
// The simulator writes a reply's first byte this long after it has read the
// command's LF, and each further byte one byte time after the one before. It
// looks at a port that has been closed only every 5 ms, so after a reopen it
// reads the command up to 5 ms late; the benchmarks measure that part.
constexpr double SimTurnAroundMs = 3.0;

double MsBetween(Clock::time_point from, Clock::time_point to);

double Median(std::vector<double> values);
// Nearest rank: the smallest value with at least p percent at or below it.
double Percentile(std::vector<double> values, double percent);
double Worst(const std::vector<double> &values);

// One command exchange as the protocol allows it at best: the reopen, then,
// from the send of the command, the simulator's turn-around, the reply's
// bytes one byte time apart and the silence, rounded up to the steps of the
// reply wait. Over the pty the command reaches the simulator at once.
double ExchangeFloorMs(double turnAroundMs, std::size_t replyBytes);
// The same, with its parts spelled out.
std::string ExchangeFloorParts(double turnAroundMs, std::size_t replyBytes);

std::string Fixed(double value, int decimals = 1);

void PrintRow(const std::string &figure, const std::string &measured, const std::string &floor,
              const std::string &overhead, const std::string &goal, const std::string &met);
std::string YesNo(bool met);

// A benchmark that cannot measure says why and ends with status 1.
[[noreturn]] void Fail(const std::string &why);
