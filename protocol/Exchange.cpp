#include "Exchange.h"

#include "AppState.h"
#include "Connection.h"
#include "MainWindow.h"
#include "PortControl.h"

bool RunExchange(AppState &state, MainWindow &window, const Text &command, Text &reply)
{
    if (state.Closing)
        return false;
    ReopenPort(state, window);
    state.ResponseReady = 0;
    SendCommand(state, window, command);
    WaitForReply(state);
    return TakeReply(state, window, reply);
}

bool TakeReply(const AppState &state, const MainWindow &window, Text &reply)
{
    if (state.ResponseReady != 1 || state.Closing)
        return false;
    reply = window.ReceiveTextEdit->Content();
    return true;
}
