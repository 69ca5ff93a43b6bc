#include "PortControl.h"

#include "AppState.h"
#include "Delay.h"
#include "InfoBox.h"
#include "MainWindow.h"
#include "SerialPortUnit.h"

void OnPortSelected(AppState &state, MainWindow &window)
{
    const int index = window.PortCombo->Selection();
    window.SerialPort->SetPortNumber(window.PortCombo->ItemValue(index));
    if (state.LinkOpen == 0)
        return;
    ReopenPort(state, window);
}

void CloseLink(AppState &state, MainWindow &window)
{
    window.SerialPort->Close();
    state.LinkOpen = 0;
    window.ConnButton->SetCaption("CONN");
}

bool ReopenPort(AppState &state, MainWindow &window)
{
    window.SerialPort->Close();
    Delay(200);
    // Once the window is closing nothing goes on the line any more.
    if (state.Closing)
        return false;
    if (window.SerialPort->Open())
        return true;
    ShowInfo("\xB4\xAE\xBF\xDA" "CONN" "\xCA\xA7\xB0\xDC");
    CloseLink(state, window);
    return false;
}

void SendCommand(AppState &state, MainWindow &window, const Text &command)
{
    if (state.Closing)
        return;
    window.SendTextEdit->SetContent(command);
    window.ReceiveTextEdit->SetContent("");
    window.SerialPort->Send(command);
}
