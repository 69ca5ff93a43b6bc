#include "DeviceFixture.h"

#include "Delay.h"
#include "Framer.h"
#include "InfoBox.h"
#include "SerialPortUnit.h"
#include "Startup.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <thread>

void DeviceFixture::SetUp()
{
    sim.SetConnectWindow(false);
    // Far above the system's own ports, so that no real port takes the
    // number over when the simulator's link goes.
    ASSERT_TRUE(sim.Start(40)) << sim.Error();
    SetInfoBoxAnswerer([this](const Text &text) { messages.push_back(text); });
    AllocRxBuffer(state);
    WireMainWindow(state, window);
    OnMainWindowCreated(state, window);
    ASSERT_EQ(window.SerialPort->PortNumber(), sim.PortNumber());
}

void DeviceFixture::TearDown()
{
    StopWatchThread(state);
    window.SerialPort->Close();
    SetInfoBoxAnswerer(nullptr);
    FreeRxBuffer(state);
}

bool DeviceFixture::WaitUntil(const std::function<bool()> &done, std::chrono::milliseconds timeout)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeout.count())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

std::vector<Text> DeviceFixture::DeviceLines() const
{
    return sim.Lines();
}

bool DeviceFixture::EachLineAfterReopen() const
{
    const std::vector<SimEvent> log = sim.Log();
    // The port starts closed; the open of Connect and the close right after
    // it are too close together to be seen apart.
    bool closed = true;
    bool reopened = false;
    for (const SimEvent &event : log) {
        switch (event.kind) {
        case SimEvent::Kind::Closed:
            closed = true;
            reopened = false;
            break;
        case SimEvent::Kind::Opened:
            reopened = closed;
            break;
        case SimEvent::Kind::Line:
            if (!reopened)
                return false;
            closed = reopened = false;
            break;
        default:
            break;
        }
    }
    return true;
}

std::string DeviceFixture::DescribeLog() const
{
    std::string out;
    const auto start = sim.Log().empty() ? std::chrono::steady_clock::now() : sim.Log().front().time;
    for (const SimEvent &event : sim.Log()) {
        static const char *const names[] = {"opened", "closed", "line", "reply", "hung up"};
        out += std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(event.time - start).count());
        out += " ms ";
        out += names[int(event.kind)];
        out += " ";
        for (char c : event.text)
            out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
        out += "\n";
    }
    return out;
}

void DeviceFixture::ChoosePort(int index)
{
    window.PortCombo->setCurrentIndex(index);
    emit window.PortCombo->activated(index);
    // The choice is handled through the event queue, and the reopen takes 200 ms.
    QCoreApplication::processEvents();
}

void DeviceFixture::ExpectIdleDisconnected() const
{
    EXPECT_EQ(state.LinkOpen, 0);
    EXPECT_FALSE(window.SerialPort->IsOpen());
    EXPECT_EQ(window.ConnButton->Caption(), "CONN");
    EXPECT_EQ(window.SendButton->Caption(), "SEND");
    EXPECT_EQ(window.SetButton->Caption(), "SET ");
    EXPECT_EQ(window.ReadButton->Caption(), "READ");
    for (const Button *button : {window.ConnButton, window.SendButton, window.SetButton, window.ReadButton})
        EXPECT_TRUE(button->isEnabled());
}

void DeviceFixture::ExpectConnected() const
{
    EXPECT_EQ(state.LinkOpen, 1);
    EXPECT_EQ(window.ConnButton->Caption(), "    ");
    for (const Button *button : {window.ConnButton, window.SendButton, window.SetButton, window.ReadButton})
        EXPECT_TRUE(button->isEnabled());
}
