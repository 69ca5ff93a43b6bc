#include "Startup.h"

#include "AppState.h"
#include "Delay.h"
#include "Framer.h"
#include "InfoBox.h"
#include "MainWindow.h"
#include "SerialPortUnit.h"

#include <QApplication>

namespace {

// The one program-wide record: zero before any code runs, alive to the end.
AppState ProgramState;

void FreeProgramRxBuffer()
{
    FreeRxBuffer(ProgramState);
}

} // namespace

int ProgramStart(int argc, char **argv)
{
    QApplication application(argc, argv);
    return RunProgram();
}

int RunProgram()
{
    AllocRxBuffer(ProgramState);
    // Runs once, when the application object goes after the event loop.
    qRemovePostRoutine(FreeProgramRxBuffer);
    qAddPostRoutine(FreeProgramRxBuffer);

    // Not deleted on close: an operation that unwinds after the close may
    // still touch the controls, so the window lives until the loop has ended.
    MainWindow window;
    WireMainWindow(ProgramState, window);
    OnMainWindowCreated(ProgramState, window);
    window.ShowCentred();
    QApplication::exec();
    // Also when the loop ended some other way: nothing runs on past here.
    OnMainWindowClosing(ProgramState, window);
    return 0;
}

void OnMainWindowCreated(AppState &state, MainWindow &window)
{
    RefreshPortList(window);
    window.PortCombo->SetSelection(0);
    window.SerialPort->SetPortNumber(window.PortCombo->ItemValue(window.PortCombo->Selection()));

    // 9600 baud, no parity, 8 data bits, one stop bit; they take effect at
    // the next open.
    window.SerialPort->SetBaudRate(9600);
    window.SerialPort->SetParity(0);
    window.SerialPort->SetDataBits(8);
    window.SerialPort->SetStopBits(1);
    window.SerialPort->SetParityCheck(true);

    state.IdleTickLimit = 20;
    state.WatchThread.reset();
    state.LinkOpen = 0;
}

void OnMainWindowDestroy(AppState &state, MainWindow &)
{
    StopWatchThread(state);
}

void OnMainWindowClosing(AppState &state, MainWindow &window)
{
    if (state.Closing.exchange(true))
        return;
    CutShortDelays(true);
    DismissInfoBoxes();
    // A byte that arrives from now on would start a worker nobody stops.
    QObject::disconnect(window.SerialPort, &SerialPortUnit::dataReceived, nullptr, nullptr);
    OnMainWindowDestroy(state, window);
}
