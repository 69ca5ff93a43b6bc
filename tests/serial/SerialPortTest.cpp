#include "AppState.h"
#include "Delay.h"
#include "InfoBox.h"
#include "MainWindow.h"
#include "PortControl.h"
#include "PortDiscovery.h"
#include "SerialPortUnit.h"
#include "TempPortFolder.h"
#include "TestPty.h"

#include <QDialog>
#include <QFile>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const Text ConnFailed = "\xB4\xAE\xBF\xDA" "CONN" "\xCA\xA7\xB0\xDC";
constexpr int DevicePort = 41;
constexpr int BusyPort = 42;

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Handles events until the condition holds or a few seconds have passed.
bool WaitUntil(const std::function<bool()> &condition)
{
    const Clock::time_point start = Clock::now();
    while (!condition() && MillisecondsSince(start) < 3000)
        Delay(5);
    return condition();
}

class SerialPortTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(device.Ready());
        ASSERT_TRUE(busy.Ready());
        QObject::connect(window.SerialPort, &SerialPortUnit::dataReceived, [this](int byte) {
            received.push_back(static_cast<char>(byte));
        });
        SetInfoBoxAnswerer([this](const Text &text) { messages.push_back(text); });
        holder.SetPortNumber(BusyPort);
        ASSERT_TRUE(holder.Open());
        window.SerialPort->SetPortNumber(DevicePort);
    }

    void TearDown() override { SetInfoBoxAnswerer(nullptr); }

    TempPortFolder folder;
    TestPty device{DevicePort};
    TestPty busy{BusyPort};
    SerialPortUnit holder;  // keeps BusyPort in use
    AppState state;
    MainWindow window;
    Text received;
    std::vector<Text> messages;
};

TEST_F(SerialPortTest, SendCommandPutsExactlyTheCommandOnTheLine)
{
    const Text command = "+++@@@AAA=?\r\n";
    ASSERT_TRUE(window.SerialPort->Open());
    window.ReceiveTextEdit->SetContent("old");
    SendCommand(state, window, command);
    EXPECT_EQ(device.Read(100, 500), command);
    EXPECT_EQ(window.SendTextEdit->Content(), command);
    EXPECT_EQ(window.ReceiveTextEdit->Content(), "");

    // On a closed port the command is still shown, and nothing goes out.
    window.SerialPort->Close();
    window.ReceiveTextEdit->SetContent("old");
    SendCommand(state, window, "AT\r\n");
    EXPECT_EQ(window.SendTextEdit->Content(), "AT\r\n");
    EXPECT_EQ(window.ReceiveTextEdit->Content(), "");
    EXPECT_EQ(device.Read(1, 200), "");
    EXPECT_FALSE(window.SerialPort->Send("AT\r\n"));
}

TEST_F(SerialPortTest, EveryReceivedByteIsOneEventInOrder)
{
    ASSERT_TRUE(window.SerialPort->Open());
    Text all;
    for (int value = 0; value < 256; ++value)
        all.push_back(static_cast<char>(value));
    device.Write(all);
    EXPECT_TRUE(WaitUntil([&] { return received.size() >= all.size(); }));
    EXPECT_EQ(received, all);

    // Also while a modal dialog runs its own loop.
    received.clear();
    QDialog dialog;
    QTimer::singleShot(20, [&] { device.Write("in the box"); });
    QTimer::singleShot(300, &dialog, &QDialog::accept);
    dialog.exec();
    EXPECT_EQ(received, "in the box");
}

TEST_F(SerialPortTest, OpenFailsCleanly)
{
    const std::string notADevice = PortFolder() + "/plain-file";
    QFile file(QString::fromStdString(notADevice));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    folder.Link(43, notADevice);

    for (int number : {900, BusyPort, 43}) {
        SerialPortUnit port;
        port.SetPortNumber(number);
        EXPECT_FALSE(port.Open()) << number;
        EXPECT_FALSE(port.IsOpen()) << number;
        EXPECT_FALSE(port.Send("x")) << number;
    }
    // The unit that holds the port is not disturbed, and can reopen it itself.
    EXPECT_TRUE(holder.IsOpen());
    EXPECT_TRUE(holder.Open());
}

TEST_F(SerialPortTest, OpenAndSendDiscardStaleInput)
{
    device.Write("before open");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_TRUE(window.SerialPort->Open());
    // Arrives while no event is handled, so it is still undelivered at the send.
    device.Write("stale");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(window.SerialPort->Send("?\r\n"));
    EXPECT_EQ(device.Read(3, 500), "?\r\n");
    device.Write("reply");
    EXPECT_TRUE(WaitUntil([&] { return received.size() >= 5; }));
    Delay(50);
    EXPECT_EQ(received, "reply");
}

TEST_F(SerialPortTest, HangUpOfTheOtherSideClosesThePort)
{
    ASSERT_TRUE(window.SerialPort->Open());
    device.Write("par");
    EXPECT_TRUE(WaitUntil([&] { return received.size() >= 3; }));
    device.HangUp();
    EXPECT_TRUE(WaitUntil([&] { return !window.SerialPort->IsOpen(); }));
    EXPECT_FALSE(window.SerialPort->Send("x"));
    EXPECT_EQ(received, "par");
    // A reopen now fails and drops the connection like any failed open.
    state.LinkOpen = 1;
    EXPECT_FALSE(ReopenPort(state, window));
    EXPECT_EQ(state.LinkOpen, 0);
}

TEST_F(SerialPortTest, ReopenPortWaitsThenOpensOrDropsTheConnection)
{
    state.LinkOpen = 1;
    window.ConnButton->SetCaption("DISC");
    ASSERT_TRUE(window.SerialPort->Open());

    Clock::time_point start = Clock::now();
    EXPECT_TRUE(ReopenPort(state, window));
    EXPECT_GE(MillisecondsSince(start), 200);
    EXPECT_TRUE(window.SerialPort->IsOpen());
    EXPECT_EQ(state.LinkOpen, 1);
    EXPECT_TRUE(messages.empty());

    window.SerialPort->SetPortNumber(BusyPort);
    start = Clock::now();
    EXPECT_FALSE(ReopenPort(state, window));
    EXPECT_GE(MillisecondsSince(start), 200);
    EXPECT_EQ(messages, std::vector<Text>{ConnFailed});
    EXPECT_FALSE(window.SerialPort->IsOpen());
    EXPECT_EQ(state.LinkOpen, 0);
    EXPECT_EQ(window.ConnButton->Caption(), "CONN");
}

TEST_F(SerialPortTest, PortSelectionTakesEffectAtOnceOnlyWhileConnected)
{
    window.PortCombo->Clear();
    window.PortCombo->AddItem("Device (COM41)", DevicePort);
    window.PortCombo->AddItem("Busy (COM42)", BusyPort);

    window.PortCombo->SetSelection(1);
    OnPortSelected(state, window);
    EXPECT_EQ(window.SerialPort->PortNumber(), BusyPort);
    EXPECT_FALSE(window.SerialPort->IsOpen());
    EXPECT_TRUE(messages.empty());

    state.LinkOpen = 1;
    window.PortCombo->SetSelection(0);
    OnPortSelected(state, window);
    EXPECT_TRUE(window.SerialPort->IsOpen());
    EXPECT_EQ(state.LinkOpen, 1);

    window.PortCombo->SetSelection(1);
    OnPortSelected(state, window);
    EXPECT_EQ(messages, std::vector<Text>{ConnFailed});
    EXPECT_FALSE(window.SerialPort->IsOpen());
    EXPECT_EQ(state.LinkOpen, 0);
    EXPECT_EQ(window.ConnButton->Caption(), "CONN");

    // With an empty list the port in use is COM1.
    window.PortCombo->Clear();
    OnPortSelected(state, window);
    EXPECT_EQ(window.SerialPort->PortNumber(), 1);
}

TEST_F(SerialPortTest, NothingGoesOnTheLineOnceTheWindowCloses)
{
    state.LinkOpen = 1;
    ASSERT_TRUE(window.SerialPort->Open());
    state.Closing = true;
    EXPECT_FALSE(ReopenPort(state, window));
    EXPECT_FALSE(window.SerialPort->IsOpen());
    EXPECT_TRUE(messages.empty());

    ASSERT_TRUE(window.SerialPort->Open());
    SendCommand(state, window, "+++@@@AAA=?\r\n");
    EXPECT_EQ(device.Read(1, 200), "");
}

} // namespace
