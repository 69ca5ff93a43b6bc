#include "DeviceModel.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

const Text Setting = "+++@@@AAA=setting\r\n";
const Text Working = "+++@@@AAA=working\r\n";

struct WindowCase
{
    const char *what;
    bool windowOn;
    std::chrono::milliseconds after; // since power-on
    bool inSettingMode;
    bool answered;
};

TEST(DeviceModel, ConnectWindowGatesTheSettingCommandOnly)
{
    const WindowCase cases[] = {
        {"right after power-on", true, 0ms, false, true},
        {"at the end of the window", true, 5000ms, false, true},
        {"after the window", true, 5001ms, false, false},
        {"after the window, already in setting mode", true, 60s, true, true},
        {"window switched off", false, 60s, false, true},
    };
    for (const WindowCase &c : cases) {
        SCOPED_TRACE(c.what);
        DeviceState state;
        state.connectWindow = c.windowOn;
        state.settingMode = c.inSettingMode;
        const auto arrived = state.poweredOn + c.after;
        EXPECT_EQ(AnswerLine(state, Setting, arrived).bytes, c.answered ? "setting ok\r\n" : "");
        EXPECT_EQ(state.settingMode, c.answered);
        EXPECT_FALSE(AnswerLine(state, "+++@@@AAA=Ver\r\n", arrived).bytes.empty());
    }
}

TEST(DeviceModel, WorkingLeavesSettingModeSoTheWindowCountsAgain)
{
    DeviceState state;
    const auto late = state.poweredOn + 10s;
    state.settingMode = true;
    EXPECT_EQ(AnswerLine(state, Setting, late).bytes, "setting ok\r\n");
    EXPECT_FALSE(AnswerLine(state, Working, late).bytes.empty());
    EXPECT_EQ(AnswerLine(state, Setting, late).bytes, "");
}

TEST(DeviceModel, OnlyATenFieldWriteIsStored)
{
    DeviceState state;
    const auto now = state.poweredOn;
    // Empty fields are stored as sent: judging them is the device's business.
    EXPECT_EQ(AnswerLine(state, "+++@@@AAA=1200,odd,,even,9600,none,9600,none,0,\r\n", now).bytes,
              "+++@@@AAA=1200,odd,,even,9600,none,9600,none,0,\r\n");
    EXPECT_EQ(state.config, "1200,odd,,even,9600,none,9600,none,0,");

    const Text nine = "+++@@@AAA=1200,odd,2400,even,9600,none,9600,none,0\r\n";
    EXPECT_EQ(AnswerLine(state, nine, now).bytes, "echo: +++@@@AAA=1200,odd,2400,even,9600,none,9600,none,0\r\n");
    EXPECT_EQ(state.config, "1200,odd,,even,9600,none,9600,none,0,");
}

TEST(DeviceModel, MisbehaviourNamesRoundTrip)
{
    for (const char *name : {"none", "silent", "capital", "noprefix", "noconfig", "cut", "long", "binary", "trickle",
                             "hangup", "unlink"}) {
        Misbehaviour m;
        ASSERT_TRUE(MisbehaviourFromName(name, m)) << name;
        EXPECT_STREQ(MisbehaviourName(m), name);
    }
    Misbehaviour m;
    EXPECT_FALSE(MisbehaviourFromName("Silent", m));
}

} // namespace
