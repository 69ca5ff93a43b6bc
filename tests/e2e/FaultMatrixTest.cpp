#include "DeviceFixture.h"

#include "Commands.h"
#include "SerialPortUnit.h"

#include <QSerialPort>

namespace {

// What the tool ends in when the device or the port misbehaves: the message
// it shows (or none) and whether it stays connected. Every case must end
// without a crash, a hang or a sanitizer report.
struct Fault
{
    const char *name;
    Misbehaviour misbehaviour;
    bool duringRead;              // false: while connecting; true: on READ once connected
    std::vector<Text> messages;
    int linkOpenAfter;
};

void PrintTo(const Fault &fault, std::ostream *out)
{
    *out << fault.name;
}

class FaultMatrix : public DeviceFixture, public ::testing::WithParamInterface<Fault>
{
protected:
    std::vector<int> Selections() const
    {
        std::vector<int> selections;
        for (const ComboBox *combo : {window.Com1BaudCombo, window.Com1ParityCombo, window.Com2BaudCombo,
                                      window.Com2ParityCombo, window.Com3BaudCombo, window.Com3ParityCombo,
                                      window.Com4BaudCombo, window.Com4ParityCombo})
            selections.push_back(combo->Selection());
        return selections;
    }
};

TEST_P(FaultMatrix, EndsInTheStateItDescribes)
{
    const Fault &f = GetParam();
    if (f.duringRead) {
        window.ConnButton->click();
        ASSERT_EQ(state.LinkOpen, 1);
    }
    const std::vector<int> selectionsBefore = Selections();
    sim.SetMisbehaviour(f.misbehaviour);

    (f.duringRead ? window.ReadButton : window.ConnButton)->click();

    // A broken reply never puts a wrong configuration into the window.
    if (f.duringRead)
        EXPECT_EQ(Selections(), selectionsBefore);
    EXPECT_EQ(messages, f.messages);
    EXPECT_EQ(state.LinkOpen, f.linkOpenAfter);
    for (const Button *button : {window.ConnButton, window.SendButton, window.SetButton, window.ReadButton})
        EXPECT_TRUE(button->isEnabled());
    EXPECT_EQ(window.ReadButton->Caption(), "READ");
}

INSTANTIATE_TEST_SUITE_P(
    Device, FaultMatrix,
    ::testing::Values(
        Fault{"Silent", Misbehaviour::Silent, false, {ConnectionFailedMessage}, 0},
        Fault{"WrongCase", Misbehaviour::CapitalSetting, false, {ConnectionFailedMessage}, 0},
        Fault{"NoPrefix", Misbehaviour::NoPrefix, true, {}, 1},
        // Only the part before the gap counts as the reply: too few fields.
        Fault{"SplitReply", Misbehaviour::CutReply, true, {}, 1},
        Fault{"Flood", Misbehaviour::TooLong, true, {}, 1},
        Fault{"ZeroAndHighBytes", Misbehaviour::ZeroAndHighBytes, true, {}, 1},
        Fault{"Trickle", Misbehaviour::Trickle, false, {}, 1},
        // The half that arrived is a reply, with too few fields to be used.
        Fault{"HangUpMidReply", Misbehaviour::HangUp, true, {}, 1}),
    [](const auto &info) { return std::string(info.param.name); });

using PortFaults = DeviceFixture;

TEST_F(PortFaults, PortTakenByAnotherProgram)
{
    QSerialPort other;
    other.setPortName(QString::fromStdString(sim.SlavePath()));
    ASSERT_TRUE(other.open(QIODevice::ReadWrite));

    window.ConnButton->click();

    EXPECT_EQ(messages, std::vector<Text>{PortNotOpenMessage});
    ExpectIdleDisconnected();
}

TEST_F(PortFaults, LinkRemovedWhileConnected)
{
    window.ConnButton->click();
    ASSERT_EQ(state.LinkOpen, 1);
    sim.RemoveLink();

    window.ReadButton->click();

    EXPECT_EQ(messages, (std::vector<Text>{ReopenFailedMessage, NoReplyMessage}));
    ExpectIdleDisconnected();
}

} // namespace
