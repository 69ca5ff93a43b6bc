#include "TextHelpers.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

const Text ErrorText = "<\xB4\xED\xCE\xF3>";

struct IntCase
{
    Text text;
    int32_t expected;
};

struct BetweenCase
{
    Text text;
    Text start;
    Text end;
    Text expected;
};

struct NameCase
{
    Text friendlyName;
    int32_t portNumber;
};

} // namespace

TEST(TextToInt, ReadsTheLeadingNumber)
{
    const IntCase cases[] = {
        {"", 0},
        {"abc", 0},
        {"123", 123},
        {"5abc", 5},
        {" \t\r\n\v\f42", 42},
        {"+7", 7},
        {"-5", -5},
        {"- 5", 0},
        {"--5", 0},
        {"+-5", 0},
        {"1 2", 1},
        {"000000000000000000000012", 12},
        {"10000\r\n", 10000},
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MAX},
        {"99999999999", INT32_MAX},
        {"99999999999999999999999999999999", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"-2147483649", INT32_MIN},
        {"-99999999999", INT32_MIN},
        // Full-width forms count as their ASCII characters.
        {"\xA3\xB5\xA3\xB0\xA3\xB0", 500},
        {"\xA3\xB2\xA3\xB0\xA3\xB0\xA3\xB0\xA3\xB0", 20000},
        {"\xA3\xAD" "5", -5},
        {"\xA3\xAB" "8", 8},
        {"1\xA3\xB2" "3", 123},
        {"\xA1\xA1\xA1\xA1" "9", 9},          // ideographic blanks are skipped
        {"\xA3\xA0" "9", 0},                  // not a full-width form
        {"\xA3", 0},                          // a lead byte alone
        {"\xB0\xA3\xB5", 0},                  // A3 here is a second byte, B5 a lone lead
        {"7\xA3", 7},
    };
    for (const IntCase &c : cases)
        EXPECT_EQ(TextToInt(c.text), c.expected) << '"' << c.text << '"';
}

TEST(TextBetween, FindsTheTextBetweenMarkersByCharacters)
{
    const BetweenCase cases[] = {
        {"a[xyz]b", "[", "]", "xyz"},
        {"a]b[c", "[", "]", ErrorText}, // the end is sought only after the start
        {"[]", "[", "]", ""},
        {"[a]b]", "[", "]", "a"},
        {"", "[", "]", ErrorText},
        {"no markers", "[", "]", ErrorText},
        {"[open", "[", "]", ErrorText},
        {"USB Serial Port (COM3)", "COM", ")", "3"},
        {"com3)", "COM", ")", ErrorText}, // case matters
        {"COMCOM1)", "COM", ")", "COM1"},
        // The second byte of a double-byte character never starts a match.
        {"\x81" "COM1)", "COM", ")", ErrorText},
        {"\x81" "CCOM1)", "COM", ")", "1"},
        {"COM1\x81)2)", "COM", ")", "1\x81)2"},
        {"COM1\x81", "COM", ")", ErrorText}, // a lead byte at the end ends the search
        {"\xB4\xAE\xBF\xDA (COM1)", "COM", ")", "1"},
        {"\xB4\xAE\xBF\xDA", "\xBF\xDA", "", ""},
        {"x\xB4\xAE\xBF\xDAy", "\xAE\xBF", "y", ErrorText},
    };
    for (const BetweenCase &c : cases)
        EXPECT_EQ(TextBetween(c.text, c.start, c.end), c.expected) << '"' << c.text << '"';
}

TEST(FriendlyName, ParsesToThePortNumber)
{
    const NameCase cases[] = {
        {"USB Serial Port (COM1)", 1},
        {"Serial port ttyS0 (COM3)", 3},
        {"Prolific USB-to-Serial Comm Port (COM10)", 10},
        {"Communications Port (COM1)", 1},
        {"Bluetooth ACOM link (COM5)", 0}, // the first COM wins
        {"Port (COM)", 0},
        {"\xB4\xAE\xBF\xDA\xC9\xE8\xB1\xB8 (COM1)", 1},
        {"\xB4\x43OM (COM4)", 4}, // a C that is a second byte
        {"    ", 0},                 // no friendly name: the blanks stay
        {"Port (COM7", 0},
        {"Port COM8", 0},
        {"Port (COM\xA3\xB9)", 9},
    };
    for (const NameCase &c : cases)
        EXPECT_EQ(TextToInt(TextBetween(c.friendlyName, "COM", ")")), c.portNumber) << c.friendlyName;
}
