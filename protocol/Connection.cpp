#include "Connection.h"

#include "AppState.h"
#include "Commands.h"
#include "Delay.h"
#include "Exchange.h"
#include "InfoBox.h"
#include "MainWindow.h"
#include "Parsing.h"
#include "PortControl.h"
#include "SerialPortUnit.h"

namespace {

const Text PortNotOpenMessage =
    "Port not open!                               \r\n\r\n"
    "1.USB is busy  \r\n"
    "2.PORT N not correct  \r\n"
    "3.COM port is busy";

const Text ConnectionFailedMessage =
    "Connection failed!                        \r\n\r\n"
    "1.Check port num. \r\n"
    "2.Check power supply        ";

} // namespace

void WaitForReply(AppState &state)
{
    // 100 steps of 20 ms: about two seconds for any reply.
    for (int step = 0; step < 100; ++step) {
        Delay(20);
        if (state.ResponseReady == 1 || state.Closing)
            return;
    }
}

void ToggleConnection(AppState &state, MainWindow &window)
{
    state.LinkOpen = (state.LinkOpen & 1) ^ 1;
    if (state.LinkOpen == 1) {
        Connect(state, window);
    } else {
        Disconnect(state, window);
        CloseLink(state, window);
    }
}

void EnsureConnected(AppState &state, MainWindow &window)
{
    if (state.LinkOpen == 0)
        ToggleConnection(state, window);
}

void Connect(AppState &state, MainWindow &window)
{
    window.ConnButton->SetCaption("CONN       ");
    DisableButtons(window);

    window.SerialPort->Close();
    Delay(200);
    const bool opened = !state.Closing && window.SerialPort->Open();
    if (!opened) {
        state.LinkOpen = 0;
        CloseLink(state, window);
        ShowInfo(PortNotOpenMessage);
        ResetToIdle(state, window);
        return;
    }

    if (Handshake(state, window) != 0) {
        state.LinkOpen = 0;
        CloseLink(state, window);
        ShowInfo(ConnectionFailedMessage);
        ResetToIdle(state, window);
        return;
    }

    state.LinkOpen = 1;
    window.ConnButton->SetCaption("    ");
    EnableButtons(window);
}

int Handshake(AppState &state, MainWindow &window)
{
    DisableButtons(window);

    Text reply;
    if (!RunExchange(state, window, EnterSettingCommand, reply))
        return 2;
    if (FindText(reply, "setting") == -1)
        return 1;

    if (!RunExchange(state, window, VersionCommand, reply))
        return 2;
    window.VersionEdit->SetContent(reply);

    // The configuration read is a bonus: without it the connection still stands.
    if (RunExchange(state, window, ReadConfigCommand, reply) && FindText(reply, CommandPrefix) != -1)
        ParseConfigReply(window, reply);

    EnableButtons(window);
    return 0;
}

void Disconnect(AppState &state, MainWindow &window)
{
    DisableButtons(window);
    Text ignored;
    RunExchange(state, window, LeaveSettingCommand, ignored);
    EnableButtons(window);
}

void DisableButtons(MainWindow &window)
{
    for (Button *button : {window.ConnButton, window.SendButton, window.SetButton, window.ReadButton})
        button->setEnabled(false);
}

void EnableButtons(MainWindow &window)
{
    for (Button *button : {window.ConnButton, window.SendButton, window.SetButton, window.ReadButton})
        button->setEnabled(true);
}

void ResetToIdle(AppState &state, MainWindow &window)
{
    window.SerialPort->Close();
    state.LinkOpen = 0;
    window.ConnButton->SetCaption("CONN");
    state.ResponseReady = 1;
    window.SendButton->SetCaption("SEND");
    window.SetButton->SetCaption("SET ");
    window.ReadButton->SetCaption("READ");
    EnableButtons(window);
}
