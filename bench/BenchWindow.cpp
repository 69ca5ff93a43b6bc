#include "BenchWindow.h"

#include "Bench.h"
#include "Framer.h"
#include "InfoBox.h"
#include "SerialPortUnit.h"
#include "Startup.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>

BenchWindow::BenchWindow()
{
    SetInfoBoxAnswerer([this](const Text &text) { messages.push_back(text); });
    AllocRxBuffer(state);
    WireMainWindow(state, window);
    OnMainWindowCreated(state, window);
    window.ShowCentred();
    HandleEventsUntil([] { return false; }, std::chrono::milliseconds(200));
}

BenchWindow::~BenchWindow()
{
    StopWatchThread(state);
    window.SerialPort->Close();
    SetInfoBoxAnswerer(nullptr);
    FreeRxBuffer(state);
}

bool HandleEventsUntil(const std::function<bool()> &done, std::chrono::milliseconds timeout)
{
    // The timer only wakes the wait when nothing else does.
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.start(timeout);
    while (!done()) {
        if (!deadline.isActive())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void ConnectOrFail(BenchWindow &bench)
{
    bench.window.ConnButton->click();
    if (bench.state.LinkOpen != 1 || bench.window.ConnButton->Caption() != "    " || !bench.messages.empty())
        Fail("the tool did not connect to the simulator");
}
