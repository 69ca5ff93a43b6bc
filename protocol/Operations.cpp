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

const Text NoReplyMessage = "READ          ";

} // namespace

void OnReadClicked(AppState &state, MainWindow &window)
{
    EnsureConnected(state, window);
    if (state.LinkOpen == 0 || state.Closing)
        return;
    window.ReadButton->SetCaption("READ  ");
    DisableButtons(window);

    Text reply;
    const bool replied = RunExchange(state, window, ReadConfigCommand, reply);
    if (replied && FindText(reply, CommandPrefix) != -1)
        ParseConfigReply(window, reply);

    if (!replied) {
        ShowInfo(NoReplyMessage);
        ResetToIdle(state, window);
    } else {
        EnableButtons(window);
        window.ReadButton->SetCaption("READ");
    }
}

void OnSetClicked(AppState &state, MainWindow &window)
{
    EnsureConnected(state, window);
    if (state.LinkOpen == 0 || state.Closing)
        return;
    window.SetButton->SetCaption("\xC9\xE8\xD6\xC3\xD6\xD0");
    DisableButtons(window);

    // The command is composed after the reopen: an edit made during the
    // 200 ms pause still goes out.
    ReopenPort(state, window);
    state.ResponseReady = 0;
    SendCommand(state, window, BuildSetCommand(window));
    WaitForReply(state);

    Text reply;
    if (!TakeReply(state, window, reply)) {
        ShowInfo(NoReplyMessage);
        ResetToIdle(state, window);
    } else {
        EnableButtons(window);
        window.SetButton->SetCaption("SET ");
    }
}

void OnSendClicked(AppState &state, MainWindow &window)
{
    EnsureConnected(state, window);
    if (state.LinkOpen == 0 || state.Closing)
        return;
    window.SendButton->SetCaption("\xB7\xA2\xCB\xCD\xD6\xD0");
    DisableButtons(window);

    ReopenPort(state, window);
    const Text line = window.SendTextEdit->Content();
    if (!line.empty() && !state.Closing) {
        window.ReceiveTextEdit->SetContent({});
        window.SerialPort->Send(line + "\r\n");
    }

    EnableButtons(window);
    window.SendButton->SetCaption("SEND");
}
