#include "Operations.h"

#include "AppState.h"
#include "Commands.h"
#include "Connection.h"
#include "Exchange.h"
#include "InfoBox.h"
#include "MainWindow.h"
#include "Parsing.h"
#include "PortControl.h"
#include "SerialPortUnit.h"

namespace {

// Connects first when needed; false when there is still no connection (the
// connection has said why) or the window is closing. Otherwise the button
// shows its busy caption and the action buttons are disabled.
bool BeginOperation(AppState &state, MainWindow &window, Button *button, const Text &busyCaption)
{
    EnsureConnected(state, window);
    if (state.LinkOpen == 0 || state.Closing)
        return false;
    button->SetCaption(busyCaption);
    DisableButtons(window);
    return true;
}

// READ and SET end alike: without a reply the tool says so and drops the
// connection; with any reply the buttons come back.
void EndOperation(AppState &state, MainWindow &window, bool replied, Button *button, const Text &idleCaption)
{
    if (!replied) {
        ShowInfo("READ          ");
        ResetToIdle(state, window);
    } else {
        EnableButtons(window);
        button->SetCaption(idleCaption);
    }
}

} // namespace

void OnReadClicked(AppState &state, MainWindow &window)
{
    if (!BeginOperation(state, window, window.ReadButton, "READ  "))
        return;

    Text reply;
    const bool replied = RunExchange(state, window, ReadConfigCommand, reply);
    if (replied && FindText(reply, CommandPrefix) != -1)
        ParseConfigReply(window, reply);

    EndOperation(state, window, replied, window.ReadButton, "READ");
}

void OnSetClicked(AppState &state, MainWindow &window)
{
    if (!BeginOperation(state, window, window.SetButton, "\xC9\xE8\xD6\xC3\xD6\xD0"))
        return;

    // The command is composed after the reopen: an edit made during the
    // 200 ms pause still goes out.
    ReopenPort(state, window);
    state.ResponseReady = 0;
    SendCommand(state, window, BuildSetCommand(window));
    WaitForReply(state);

    Text reply;
    EndOperation(state, window, TakeReply(state, window, reply), window.SetButton, "SET ");
}

void OnSendClicked(AppState &state, MainWindow &window)
{
    if (!BeginOperation(state, window, window.SendButton, "\xB7\xA2\xCB\xCD\xD6\xD0"))
        return;

    // No reply is awaited: whatever the device answers shows in
    // ReceiveTextEdit when it comes.
    ReopenPort(state, window);
    const Text line = window.SendTextEdit->Content();
    if (!line.empty() && !state.Closing) {
        window.ReceiveTextEdit->SetContent({});
        window.SerialPort->Send(line + "\r\n");
    }

    EnableButtons(window);
    window.SendButton->SetCaption("SEND");
}
