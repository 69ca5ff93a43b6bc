#include "MainWindow.h"

#include "SerialPortUnit.h"

#include "Gbk.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QWindow>

namespace {

template <typename Control>
Control *Place(Control *control, int x, int y, int w, int h)
{
    control->setGeometry(x, y, w, h);
    return control;
}

// "微软雅黑", and where it is missing a CJK face that Linux desktops carry.
QFont LayoutFont(int pixelHeight)
{
    QFont font;
    font.setFamilies({GbkToQString("\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA"), QStringLiteral("Microsoft YaHei"),
                      QStringLiteral("WenQuanYi Micro Hei")});
    font.setPixelSize(pixelHeight);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    return font;
}

void FillBaudItems(ComboBox *combo)
{
    for (const char *item : {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200", "230400"})
        combo->AddItem(item);
}

void FillParityItems(ComboBox *combo)
{
    for (const char *item : {"none", "odd", "even"})
        combo->AddItem(item);
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QWidget(parent)
{
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(LayoutFont(16));
    QPalette black = palette();
    black.setColor(QPalette::WindowText, Qt::black);
    black.setColor(QPalette::Text, Qt::black);
    black.setColor(QPalette::ButtonText, Qt::black);
    setPalette(black);

    HintLabel = Place(new Label(this, "Connect in first 5 sec (all LED ON)      "), 32, 16, 264, 24);
    VersionLabel = Place(new Label(this, "Version "), 400, 56, 64, 32);
    VersionEdit = Place(new EditBox(this, EditBox::Border::SingleLine), 464, 56, 88, 32);

    TopFrame = Place(new Frame(this), 32, 40, 264, 64);
    PortLabel = Place(new Label(TopFrame, "PORT    "), 16, 20, 56, 24);
    PortCombo = Place(new ComboBox(TopFrame), 80, 18, 88, 32);
    ConnButton = Place(new Button(TopFrame, "CONN"), 176, 16, 64, 32);

    SettingsFrame = Place(new Frame(this), 32, 120, 520, 304);
    Com1BaudLabel = Place(new Label(SettingsFrame, "COM1 BAUD   "), 40, 16, 104, 32);
    Com1BaudCombo = Place(new ComboBox(SettingsFrame), 152, 16, 88, 32);
    Com1ParityLabel = Place(new Label(SettingsFrame, "COM1 PARITY "), 40, 64, 104, 32);
    Com1ParityCombo = Place(new ComboBox(SettingsFrame), 152, 64, 88, 32);
    Com2BaudLabel = Place(new Label(SettingsFrame, "COM2 BAUD   "), 40, 112, 104, 32);
    Com2BaudCombo = Place(new ComboBox(SettingsFrame), 152, 112, 88, 32);
    Com2ParityLabel = Place(new Label(SettingsFrame, "COM2 PARITY "), 40, 160, 104, 32);
    Com2ParityCombo = Place(new ComboBox(SettingsFrame), 152, 160, 88, 32);
    Com3BaudLabel = Place(new Label(SettingsFrame, "COM3 BAUD   "), 40, 208, 104, 32);
    Com3BaudCombo = Place(new ComboBox(SettingsFrame), 152, 208, 88, 32);
    Com3ParityLabel = Place(new Label(SettingsFrame, "COM3 PARITY "), 40, 256, 104, 32);
    Com3ParityCombo = Place(new ComboBox(SettingsFrame), 152, 256, 88, 32);
    ReadButton = Place(new Button(SettingsFrame, "READ"), 328, 208, 64, 32);
    SetButton = Place(new Button(SettingsFrame, "SET "), 408, 208, 64, 32);
    IntervalLabel = Place(new Label(SettingsFrame, "INTERVAL  "), 296, 160, 88, 32);
    IntervalEdit = Place(new EditBox(SettingsFrame, EditBox::Border::Sunken), 384, 160, 88, 32);
    TimeoutLabel = Place(new Label(SettingsFrame, " TIMEOUT  "), 296, 112, 88, 32);
    TimeoutEdit = Place(new EditBox(SettingsFrame, EditBox::Border::Sunken), 384, 112, 88, 32);
    Com4ParityLabel = Place(new Label(SettingsFrame, "COM4 PARITY "), 272, 64, 104, 32);
    Com4ParityCombo = Place(new ComboBox(SettingsFrame), 384, 64, 88, 32);
    Com4BaudLabel = Place(new Label(SettingsFrame, "COM4 BAUD   "), 272, 16, 104, 32);
    Com4BaudCombo = Place(new ComboBox(SettingsFrame), 384, 16, 88, 32);

    TerminalFrame = Place(new Frame(this), 40, 440, 520, 96);
    AddCrCheck = Place(new CheckBox(TerminalFrame, "ADD <CR>  "), 352, 20, 96, 24);
    SendButton = Place(new Button(TerminalFrame, "SEND"), 448, 40, 64, 32);
    SendDataLabel = Place(new Label(TerminalFrame, "Send data "), 16, 16, 72, 30);
    SendTextEdit = Place(new EditBox(TerminalFrame, EditBox::Border::SingleLine), 96, 16, 248, 30);
    ReceiveDataLabel = Place(new Label(TerminalFrame, "Read data "), 16, 50, 72, 30);
    ReceiveTextEdit = Place(new EditBox(TerminalFrame, EditBox::Border::SingleLine), 96, 50, 336, 30);

    SerialPort = new SerialPortUnit(this);

    for (ComboBox *combo : {Com1BaudCombo, Com2BaudCombo, Com3BaudCombo, Com4BaudCombo})
        FillBaudItems(combo);
    for (ComboBox *combo : {Com1ParityCombo, Com2ParityCombo, Com3ParityCombo, Com4ParityCombo})
        FillParityItems(combo);
    for (const char *item : {"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8", "COM9"})
        PortCombo->AddItem(item, PortCombo->count() + 1);
    PortCombo->SetSelection(2);

    HintLabel->setFont(LayoutFont(13));
    QPalette red = HintLabel->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    HintLabel->setPalette(red);
    AddCrCheck->setFont(LayoutFont(13));
    SendButton->setFont(LayoutFont(15));

    for (EditBox *edit : {VersionEdit, IntervalEdit, TimeoutEdit})
        edit->setAlignment(Qt::AlignCenter);
    for (EditBox *edit : {SendTextEdit, ReceiveTextEdit})
        edit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    VersionEdit->setEnabled(false);
    AddCrCheck->setChecked(true);
    AddCrCheck->setEnabled(false);
    for (EditBox *edit : {VersionEdit, IntervalEdit, TimeoutEdit})
        edit->SetDigitsOnly(true);

    setWindowTitle(GbkToQString("TQ-5520 V1.00eng     "));
    // Without a window manager there is no frame: the client area is all.
    setFixedSize(OuterWidth, OuterHeight);
}

MainWindow::~MainWindow() = default;

void MainWindow::closeEvent(QCloseEvent *event)
{
    emit closing();
    event->accept();
}

void MainWindow::ShowCentred()
{
    FitOuterFrame();
    CentreOnScreen();
    show();
}

bool MainWindow::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    // A window manager reports its frame only once the window is up; then the
    // client area shrinks so that the frame keeps the fixed outer size.
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowActivate:
        if (FitOuterFrame())
            CentreOnScreen();
        break;
    default:
        break;
    }
    return handled;
}

bool MainWindow::FitOuterFrame()
{
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    const QSize client(OuterWidth - frame.left() - frame.right(), OuterHeight - frame.top() - frame.bottom());
    if (client == size() || client.isEmpty())
        return false;
    setFixedSize(client);
    return true;
}

void MainWindow::CentreOnScreen()
{
    const QScreen *shown = screen();
    if (!shown)
        return;
    const QRect area = shown->availableGeometry();
    // move() places the outer frame of a window.
    move(area.x() + (area.width() - OuterWidth) / 2, area.y() + (area.height() - OuterHeight) / 2);
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
