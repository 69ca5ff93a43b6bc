#include "Commands.h"
#include "MainWindow.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class BuildSetCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (ComboBox *combo : Channels())
            combo->SetSelection(0);
    }

    std::vector<ComboBox *> Channels()
    {
        return {window.Com1BaudCombo, window.Com1ParityCombo, window.Com2BaudCombo, window.Com2ParityCombo,
                window.Com3BaudCombo, window.Com3ParityCombo, window.Com4BaudCombo, window.Com4ParityCombo};
    }

    MainWindow window;
};

} // namespace

TEST(CommandTexts, AreExact)
{
    EXPECT_EQ(CommandPrefix, "+++@@@AAA=");
    EXPECT_EQ(EnterSettingCommand, "+++@@@AAA=setting\r\n");
    EXPECT_EQ(VersionCommand, "+++@@@AAA=Ver\r\n");
    EXPECT_EQ(ReadConfigCommand, "+++@@@AAA=?\r\n");
    EXPECT_EQ(LeaveSettingCommand, "+++@@@AAA=working\r\n");
    EXPECT_EQ(EnterSettingCommand.size(), 19u);
    EXPECT_EQ(VersionCommand.size(), 15u);
    EXPECT_EQ(ReadConfigCommand.size(), 13u);
    EXPECT_EQ(LeaveSettingCommand.size(), 19u);
}

TEST_F(BuildSetCommandTest, ComposesTheControlsInFieldOrder)
{
    struct Case
    {
        std::vector<int> selections; // COM1 baud, COM1 parity, ... COM4 parity
        Text timeout;
        Text interval;
        Text expected;
    };
    const Case cases[] = {
        {{0, 0, 0, 0, 0, 0, 0, 0}, "", "", "+++@@@AAA=1200,none,1200,none,1200,none,1200,none,,\r\n"},
        {{3, 1, 4, 2, 7, 0, 8, 1}, "500", "1000",
         "+++@@@AAA=9600,odd,19200,even,115200,none,230400,odd,500,1000\r\n"},
        {{-1, 0, 0, 0, 0, 0, 0, 0}, "1", "2", "+++@@@AAA=,none,1200,none,1200,none,1200,none,1,2\r\n"},
        {{0, 0, 0, 0, 0, -1, 0, -1}, "1", "2", "+++@@@AAA=1200,none,1200,none,1200,,1200,,1,2\r\n"},
        // Values go out unchanged: blanks, letters, full-width digits, line ends.
        {{0, 0, 0, 0, 0, 0, 0, 0}, " 50x", "\xA3\xB5\r\n",
         "+++@@@AAA=1200,none,1200,none,1200,none,1200,none, 50x,\xA3\xB5\r\n\r\n"},
    };
    for (const Case &c : cases) {
        for (size_t i = 0; i < c.selections.size(); ++i)
            Channels()[i]->SetSelection(c.selections[i]);
        window.TimeoutEdit->SetContent(c.timeout);
        window.IntervalEdit->SetContent(c.interval);
        const Text command = BuildSetCommand(window);
        EXPECT_EQ(command, c.expected);
        EXPECT_EQ(std::count(command.begin(), command.end(), ','), 9) << command;
    }
}
