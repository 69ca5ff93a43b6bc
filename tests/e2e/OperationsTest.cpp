#include "DeviceFixture.h"

#include "Commands.h"
#include "SerialPortUnit.h"

namespace {

class Operations : public DeviceFixture
{
protected:
    void Connect()
    {
        window.ConnButton->click();
        ASSERT_EQ(state.LinkOpen, 1);
        sim.ClearLog();
    }
};

TEST_F(Operations, ReadShowsAChangedDeviceConfiguration)
{
    Connect();
    sim.SetConfig("2400,even,2400,even,2400,even,2400,even,42,43");

    window.ReadButton->click();

    EXPECT_EQ(DeviceLines(), std::vector<Text>{ReadConfigCommand});
    EXPECT_EQ(window.Com3BaudCombo->Selection(), 1);
    EXPECT_EQ(window.Com4ParityCombo->Selection(), 2);
    EXPECT_EQ(window.TimeoutEdit->Content(), "42");
    EXPECT_EQ(window.IntervalEdit->Content(), "43\r\n");
    EXPECT_EQ(window.ReadButton->Caption(), "READ");
    ExpectConnected();
    EXPECT_EQ(window.SendTextEdit->Content(), ReadConfigCommand);
}

TEST_F(Operations, SetWritesTheWindowsValuesIntoTheDevice)
{
    Connect();
    window.Com1BaudCombo->SetSelection(8);
    window.Com2ParityCombo->SetSelection(1);
    window.TimeoutEdit->SetContent("3000");
    window.IntervalEdit->SetContent("20000"); // held to 10000

    window.SetButton->click();

    EXPECT_EQ(DeviceLines(), std::vector<Text>{"+++@@@AAA=230400,none,9600,odd,9600,none,9600,none,3000,10000\r\n"});
    EXPECT_EQ(sim.Config(), "230400,none,9600,odd,9600,none,9600,none,3000,10000");
    EXPECT_EQ(window.SetButton->Caption(), "SET ");
    ExpectConnected();
}

TEST_F(Operations, ReadThenSetLeavesTheDeviceUnchangedButForValuesAbove10000)
{
    sim.SetConfig("57600,odd,1200,none,19200,even,38400,none,70000,250");
    Connect();

    window.ReadButton->click();
    window.SetButton->click();

    // The interval goes back with the line end the reply carried after it;
    // the device takes that as one more, empty, line.
    EXPECT_EQ(sim.Config(), "57600,odd,1200,none,19200,even,38400,none,10000,250");
    EXPECT_EQ(DeviceLines().back(), "\r\n");
}

TEST_F(Operations, SetWhileDisconnectedConnectsFirstAndSendsWhatTheHandshakeRead)
{
    sim.SetConfig("4800,odd,4800,odd,4800,odd,4800,odd,10,20");
    window.Com1BaudCombo->SetSelection(0);
    window.TimeoutEdit->SetContent("999");

    window.SetButton->click();

    ASSERT_GE(DeviceLines().size(), 4u);
    EXPECT_EQ(DeviceLines()[3], "+++@@@AAA=4800,odd,4800,odd,4800,odd,4800,odd,10,20\r\n");
    EXPECT_EQ(sim.Config(), "4800,odd,4800,odd,4800,odd,4800,odd,10,20");
    ExpectConnected();
}

TEST_F(Operations, ReadOrSetWithoutAReplyEndDisconnectedWithoutLeavingSettingMode)
{
    for (Button *button : {window.ReadButton, window.SetButton}) {
        SCOPED_TRACE(button == window.ReadButton ? "READ" : "SET");
        sim.SetMisbehaviour(Misbehaviour::None);
        Connect();
        messages.clear();
        sim.SetMisbehaviour(Misbehaviour::Silent);

        button->click();

        EXPECT_EQ(messages, std::vector<Text>{NoReplyMessage});
        ExpectIdleDisconnected();
        ASSERT_FALSE(DeviceLines().empty());
        EXPECT_EQ(DeviceLines().front().substr(0, 10), CommandPrefix);
        for (const Text &line : DeviceLines())
            EXPECT_NE(line, LeaveSettingCommand);
    }
}

TEST_F(Operations, ReadReplyWithoutThePrefixChangesNothing)
{
    Connect();
    const int before = window.Com1BaudCombo->Selection();
    sim.SetConfig("1200,none,1200,none,1200,none,1200,none,1,2");
    sim.SetMisbehaviour(Misbehaviour::NoPrefix);

    window.ReadButton->click();

    EXPECT_EQ(window.Com1BaudCombo->Selection(), before);
    EXPECT_EQ(window.TimeoutEdit->Content(), "1000");
    ExpectConnected();
    EXPECT_TRUE(messages.empty());
}

TEST_F(Operations, SendPutsTheLineAndCrLfOnTheWireAndShowsTheAnswer)
{
    Connect();
    window.SendTextEdit->SetContent("hello");

    window.SendButton->click();

    EXPECT_TRUE(WaitUntil([&] { return window.ReceiveTextEdit->Content() == "echo: hello\r\n"; }))
        << window.ReceiveTextEdit->Content();
    EXPECT_EQ(DeviceLines(), std::vector<Text>{"hello\r\n"});
    EXPECT_EQ(window.SendButton->Caption(), "SEND");
    ExpectConnected();
}

TEST_F(Operations, SendWithAnEmptyLineSendsNothingButReopensThePort)
{
    Connect();
    window.SendTextEdit->SetContent({});
    window.ReceiveTextEdit->SetContent("kept");

    window.SendButton->click();

    EXPECT_TRUE(sim.WaitForLog(
        [](const std::vector<SimEvent> &log) {
            return std::any_of(log.begin(), log.end(), [](const SimEvent &e) { return e.kind == SimEvent::Kind::Opened; });
        },
        std::chrono::seconds(5)));
    WaitUntil([] { return false; }, std::chrono::milliseconds(100));
    EXPECT_TRUE(DeviceLines().empty());
    EXPECT_EQ(window.ReceiveTextEdit->Content(), "kept");
}

TEST_F(Operations, SendAfterReadRepeatsTheLastCommand)
{
    Connect();
    window.ReadButton->click();
    sim.ClearLog();

    window.SendButton->click();

    EXPECT_TRUE(sim.WaitForLog([](const std::vector<SimEvent> &log) {
        return std::count_if(log.begin(), log.end(), [](const SimEvent &e) { return e.kind == SimEvent::Kind::Line; }) >= 2;
    }, std::chrono::seconds(5)));
    // The command already ends in CR LF and SEND adds one more.
    EXPECT_EQ(DeviceLines(), (std::vector<Text>{ReadConfigCommand, "\r\n"}));
}

} // namespace
