#include "DeviceFixture.h"

#include "Commands.h"
#include "SerialPortUnit.h"

namespace {

using Connection = DeviceFixture;

TEST_F(Connection, HandshakeSendsThreeCommandsEachAfterAReopenAndFillsTheWindow)
{
    sim.SetConfig("115200,odd,4800,even,1200,none,230400,odd,2500,750");

    window.ConnButton->click();

    EXPECT_EQ(DeviceLines(), (std::vector<Text>{EnterSettingCommand, VersionCommand, ReadConfigCommand}));
    EXPECT_TRUE(EachLineAfterReopen()) << DescribeLog();
    EXPECT_EQ(window.VersionEdit->Content(), "TQ-5520 V1.00 (simulator)\r\n");
    EXPECT_EQ(window.Com1BaudCombo->ItemText(window.Com1BaudCombo->Selection()), "115200");
    EXPECT_EQ(window.Com1ParityCombo->ItemText(window.Com1ParityCombo->Selection()), "odd");
    EXPECT_EQ(window.Com2BaudCombo->ItemText(window.Com2BaudCombo->Selection()), "4800");
    EXPECT_EQ(window.Com2ParityCombo->ItemText(window.Com2ParityCombo->Selection()), "even");
    EXPECT_EQ(window.Com3BaudCombo->ItemText(window.Com3BaudCombo->Selection()), "1200");
    EXPECT_EQ(window.Com3ParityCombo->ItemText(window.Com3ParityCombo->Selection()), "none");
    EXPECT_EQ(window.Com4BaudCombo->ItemText(window.Com4BaudCombo->Selection()), "230400");
    EXPECT_EQ(window.Com4ParityCombo->ItemText(window.Com4ParityCombo->Selection()), "odd");
    EXPECT_EQ(window.TimeoutEdit->Content(), "2500");
    EXPECT_EQ(window.IntervalEdit->Content(), "750\r\n");
    EXPECT_EQ(window.SendTextEdit->Content(), ReadConfigCommand);
    ExpectConnected();
    EXPECT_TRUE(messages.empty());
}

struct FailedConnect
{
    const char *name;
    Misbehaviour misbehaviour;
    bool portMissing;
    Text message;
};

void PrintTo(const FailedConnect &c, std::ostream *out)
{
    *out << c.name;
}

class ConnectFailure : public DeviceFixture, public ::testing::WithParamInterface<FailedConnect>
{
};

TEST_P(ConnectFailure, ShowsItsMessageAndReturnsToIdle)
{
    const FailedConnect &c = GetParam();
    sim.SetMisbehaviour(c.misbehaviour);
    if (c.portMissing)
        window.SerialPort->SetPortNumber(sim.PortNumber() + 50);

    window.ConnButton->click();

    EXPECT_EQ(messages, std::vector<Text>{c.message});
    ExpectIdleDisconnected();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConnectFailure,
    ::testing::Values(FailedConnect{"PortDoesNotOpen", Misbehaviour::None, true, PortNotOpenMessage},
                      FailedConnect{"SilentDevice", Misbehaviour::Silent, false, ConnectionFailedMessage},
                      FailedConnect{"CapitalSetting", Misbehaviour::CapitalSetting, false, ConnectionFailedMessage}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Connection, DeviceThatDoesNotAnswerTheConfigurationReadStillConnects)
{
    window.TimeoutEdit->SetContent("123");
    sim.SetMisbehaviour(Misbehaviour::NoConfigReply);

    window.ConnButton->click();

    ExpectConnected();
    EXPECT_EQ(window.TimeoutEdit->Content(), "123");
    EXPECT_EQ(window.Com1BaudCombo->Selection(), -1);
    EXPECT_TRUE(messages.empty());
}

TEST_F(Connection, DisconnectSendsWorkingAndEndsDisconnectedEvenWhenSilent)
{
    for (const bool silent : {false, true}) {
        SCOPED_TRACE(silent ? "silent device" : "answering device");
        sim.SetMisbehaviour(Misbehaviour::None);
        window.ConnButton->click();
        ASSERT_EQ(state.LinkOpen, 1);
        sim.ClearLog();
        if (silent)
            sim.SetMisbehaviour(Misbehaviour::Silent);

        window.ConnButton->click();

        EXPECT_EQ(DeviceLines(), std::vector<Text>{LeaveSettingCommand});
        ExpectIdleDisconnected();
        EXPECT_TRUE(messages.empty());
    }
}

TEST_F(Connection, ChoosingAnotherPortWhileConnectedReopensThere)
{
    Simulator other;
    other.SetConnectWindow(false);
    ASSERT_TRUE(other.Start()) << other.Error();
    window.ConnButton->click();
    ASSERT_EQ(state.LinkOpen, 1);

    window.PortCombo->showPopup(); // the list is refreshed as it opens
    window.PortCombo->hidePopup();
    int index = -1;
    for (int i = 0; i < window.PortCombo->count(); ++i) {
        if (window.PortCombo->ItemValue(i) == other.PortNumber())
            index = i;
    }
    ASSERT_NE(index, -1);
    ChoosePort(index);

    EXPECT_TRUE(WaitUntil([&] { return window.SerialPort->PortNumber() == other.PortNumber() && window.SerialPort->IsOpen(); }));
    EXPECT_TRUE(other.WaitForLog(
        [](const std::vector<SimEvent> &log) {
            return std::any_of(log.begin(), log.end(), [](const SimEvent &e) { return e.kind == SimEvent::Kind::Opened; });
        },
        std::chrono::seconds(5)));
    EXPECT_EQ(state.LinkOpen, 1);
    EXPECT_TRUE(messages.empty());
}

TEST_F(Connection, ChoosingAPortThatDoesNotOpenWhileConnectedDisconnects)
{
    window.ConnButton->click();
    ASSERT_EQ(state.LinkOpen, 1);
    const int missing = window.PortCombo->AddItem("COM99", 99);

    ChoosePort(missing);

    EXPECT_TRUE(WaitUntil([&] { return !messages.empty(); }));
    EXPECT_EQ(messages, std::vector<Text>{ReopenFailedMessage});
    EXPECT_EQ(state.LinkOpen, 0);
    EXPECT_FALSE(window.SerialPort->IsOpen());
    EXPECT_EQ(window.ConnButton->Caption(), "CONN");
}

} // namespace
