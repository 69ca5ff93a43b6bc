#include "Startup.h"

#include "AppState.h"
#include "Connection.h"
#include "Framer.h"
#include "MainWindow.h"
#include "Operations.h"
#include "PortControl.h"
#include "SerialPortUnit.h"

// Every event of the window and the handler it runs, in one place. The window
// is the context of each connection, so none outlives it.
void WireMainWindow(AppState &state, MainWindow &window)
{
    AppState *s = &state;
    MainWindow *w = &window;

    QObject::connect(w->PortCombo, &ComboBox::aboutToDropDown, w, [w] { RefreshPortList(*w); });
    QObject::connect(w->PortCombo, &ComboBox::itemSelected, w, [s, w] { OnPortSelected(*s, *w); });
    QObject::connect(w->ConnButton, &Button::clicked, w, [s, w] { ToggleConnection(*s, *w); });
    QObject::connect(w->ReadButton, &Button::clicked, w, [s, w] { OnReadClicked(*s, *w); });
    QObject::connect(w->SetButton, &Button::clicked, w, [s, w] { OnSetClicked(*s, *w); });
    QObject::connect(w->SendButton, &Button::clicked, w, [s, w] { OnSendClicked(*s, *w); });
    QObject::connect(w->IntervalEdit, &EditBox::contentChanged, w, [w] { OnIntervalChanged(*w); });
    QObject::connect(w->TimeoutEdit, &EditBox::contentChanged, w, [w] { OnTimeoutChanged(*w); });
    QObject::connect(w->SerialPort, &SerialPortUnit::dataReceived, w, [s, w](int byte) { OnSerialByte(*s, *w, byte); });
    QObject::connect(w, &MainWindow::closing, w, [s, w] { OnMainWindowClosing(*s, *w); });
}
