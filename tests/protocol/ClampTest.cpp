#include "MainWindow.h"
#include "Operations.h"

#include <gtest/gtest.h>

TEST(Clamp, HoldsBothBoxesToZeroTo10000WithOneCorrectiveWrite)
{
    struct Case
    {
        Text written;
        Text expected;
        int runs; // how often the handler ran for the one write
    };
    const Case cases[] = {
        {"-1", "0", 2},
        {"-5", "0", 2},
        {"10001", "10000", 2},
        {"20000", "10000", 2},
        {"99999999999", "10000", 2},
        {"-99999999999", "0", 2},
        {"", "", 1},
        {"abc", "abc", 1},
        {"5abc", "5abc", 1},
        {"0", "0", 1},
        {"10000", "10000", 1},
        {" 7\r\n", " 7\r\n", 1},
        {"\xA3\xB5\xA3\xB0\xA3\xB0", "\xA3\xB5\xA3\xB0\xA3\xB0", 1},
        {"\xA3\xB2\xA3\xB0\xA3\xB0\xA3\xB0\xA3\xB0", "10000", 2},
        {"\xA3\xAD" "5", "0", 2},
    };
    MainWindow window;
    int runs = 0;
    QObject::connect(window.IntervalEdit, &EditBox::contentChanged, [&] { ++runs; OnIntervalChanged(window); });
    QObject::connect(window.TimeoutEdit, &EditBox::contentChanged, [&] { ++runs; OnTimeoutChanged(window); });
    for (EditBox *box : {window.IntervalEdit, window.TimeoutEdit}) {
        EditBox *other = box == window.IntervalEdit ? window.TimeoutEdit : window.IntervalEdit;
        other->SetContent("123");
        for (const Case &c : cases) {
            runs = 0;
            box->SetContent(c.written);
            EXPECT_EQ(box->Content(), c.expected) << c.written;
            EXPECT_EQ(runs, c.runs) << c.written;
            EXPECT_EQ(other->Content(), "123");
        }
    }
}
