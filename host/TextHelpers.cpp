#include "TextHelpers.h"

#include <limits>

namespace {

const Text ErrorText = "<\xB4\xED\xCE\xF3>"; // "<错误>"

bool IsLeadByte(char c)
{
    return static_cast<unsigned char>(c) >= 0x80;
}

// Full-width forms become their ASCII characters and the ideographic blank a
// blank, a character at a time so that a trail byte is never taken for a lead.
Text NarrowFullWidth(const Text &text)
{
    Text out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (!IsLeadByte(text[i]) || i + 1 == text.size()) {
            out += text[i];
            ++i;
            continue;
        }
        const auto lead = static_cast<unsigned char>(text[i]);
        const auto trail = static_cast<unsigned char>(text[i + 1]);
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            out += char(trail - 0x80);
        } else if (lead == 0xA1 && trail == 0xA1) {
            out += ' ';
        } else {
            out += text[i];
            out += text[i + 1];
        }
        i += 2;
    }
    return out;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// First match at or after 0-based index from, tried only where a character
// starts. npos when there is none.
size_t FindByCharacters(const Text &text, const Text &sought, size_t from)
{
    size_t i = from;
    while (i <= text.size()) {
        if (text.size() - i >= sought.size() && text.compare(i, sought.size(), sought) == 0)
            return i;
        if (i == text.size())
            break;
        i += IsLeadByte(text[i]) ? 2 : 1;
    }
    return Text::npos;
}

} // namespace

int32_t TextToInt(const Text &text)
{
    const Text plain = NarrowFullWidth(text);
    size_t i = 0;
    while (i < plain.size() && IsBlank(plain[i]))
        ++i;
    bool negative = false;
    if (i < plain.size() && (plain[i] == '+' || plain[i] == '-')) {
        negative = plain[i] == '-';
        ++i;
    }
    // Counted past the limit only far enough to know it is past it.
    const int64_t limit = negative ? -int64_t(std::numeric_limits<int32_t>::min())
                                   : int64_t(std::numeric_limits<int32_t>::max());
    int64_t value = 0;
    while (i < plain.size() && plain[i] >= '0' && plain[i] <= '9') {
        value = value * 10 + (plain[i] - '0');
        if (value > limit)
            value = limit;
        ++i;
    }
    return int32_t(negative ? -value : value);
}

Text TextBetween(const Text &text, const Text &startMarker, const Text &endMarker)
{
    const size_t start = FindByCharacters(text, startMarker, 0);
    if (start == Text::npos)
        return ErrorText;
    const size_t from = start + startMarker.size();
    const size_t end = FindByCharacters(text, endMarker, from);
    if (end == Text::npos)
        return ErrorText;
    return text.substr(from, end - from);
}
