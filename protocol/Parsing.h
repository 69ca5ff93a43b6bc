#pragma once

#include "Text.h"

#include <array>
#include <vector>

class MainWindow;

// 1-based position of the first occurrence, -1 when absent or either text is
// empty. Exact bytes.
int FindText(const Text &text, const Text &sought);

// Cuts at the delimiter, a GBK character at a time; empty pieces are dropped.
int SplitFields(const Text &text, const Text &delimiter, std::vector<Text> &fields);

// Index of the first table entry contained in the field, -1 for none.
template <size_t N>
int LookUpByContainment(const std::array<Text, N> &table, const Text &field)
{
    for (size_t i = 0; i < N; ++i) {
        if (FindText(field, table[i]) != -1)
            return int(i);
    }
    return -1;
}

// Writes a configuration reply onto the eight combo boxes, then TimeoutEdit,
// then IntervalEdit. A reply with fewer than ten fields changes nothing.
void ParseConfigReply(MainWindow &window, const Text &reply);
