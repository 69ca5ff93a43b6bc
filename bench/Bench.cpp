#include "Bench.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

double MsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Percentile(std::vector<double> values, double percent)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(percent / 100.0 * double(values.size())));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

double Worst(const std::vector<double> &values)
{
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

namespace {

double UntilPublishedMs(double turnAroundMs, std::size_t replyBytes)
{
    return turnAroundMs + double(replyBytes - 1) * ByteMs + SilenceMs;
}

} // namespace

double ExchangeFloorMs(double turnAroundMs, std::size_t replyBytes)
{
    return ReopenMs + std::ceil(UntilPublishedMs(turnAroundMs, replyBytes) / StepMs) * StepMs;
}

std::string ExchangeFloorParts(double turnAroundMs, std::size_t replyBytes)
{
    const double waited = ExchangeFloorMs(turnAroundMs, replyBytes) - ReopenMs;
    return "200 + " + Fixed(waited, 0) + " (" + Fixed(turnAroundMs) + " + " + std::to_string(replyBytes - 1) +
           " × 1.04 + 40 = " + Fixed(UntilPublishedMs(turnAroundMs, replyBytes)) + " → " + Fixed(waited, 0) + ")";
}

std::string Fixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

void PrintRow(const std::string &figure, const std::string &measured, const std::string &floor,
              const std::string &overhead, const std::string &goal, const std::string &met)
{
    std::printf("| %s | %s | %s | %s | %s | %s |\n", figure.c_str(), measured.c_str(), floor.c_str(),
                overhead.c_str(), goal.c_str(), met.c_str());
    std::fflush(stdout);
}

std::string YesNo(bool met)
{
    return met ? "yes" : "**no**";
}

void Fail(const std::string &why)
{
    std::fprintf(stderr, "benchmark: could not measure: %s\n", why.c_str());
    std::exit(1);
}
