#pragma once

#include "Controls.h"

#include <QWidget>

class SerialPortUnit;

// The one fixed window. Controls are public: the system's routines work on
// them directly, by the names they carry in the layout.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // The outer size, frame and title bar included.
    static constexpr int OuterWidth = 590;
    static constexpr int OuterHeight = 588;

    // Shows the window with its outer frame centred on the screen.
    void ShowCentred();

    Label *HintLabel;
    Label *VersionLabel;
    EditBox *VersionEdit;
    Frame *TopFrame;
    Label *PortLabel;
    ComboBox *PortCombo;
    Button *ConnButton;
    Frame *SettingsFrame;
    Label *Com1BaudLabel;
    ComboBox *Com1BaudCombo;
    Label *Com1ParityLabel;
    ComboBox *Com1ParityCombo;
    Label *Com2BaudLabel;
    ComboBox *Com2BaudCombo;
    Label *Com2ParityLabel;
    ComboBox *Com2ParityCombo;
    Label *Com3BaudLabel;
    ComboBox *Com3BaudCombo;
    Label *Com3ParityLabel;
    ComboBox *Com3ParityCombo;
    Button *ReadButton;
    Button *SetButton;
    Label *IntervalLabel;
    EditBox *IntervalEdit;
    Label *TimeoutLabel;
    EditBox *TimeoutEdit;
    Label *Com4ParityLabel;
    ComboBox *Com4ParityCombo;
    Label *Com4BaudLabel;
    ComboBox *Com4BaudCombo;
    Frame *TerminalFrame;
    CheckBox *AddCrCheck;
    Button *SendButton;
    Label *SendDataLabel;
    EditBox *SendTextEdit;
    Label *ReceiveDataLabel;
    EditBox *ReceiveTextEdit;
    SerialPortUnit *SerialPort;

signals:
    // The user closed the window (close box, system menu or Escape).
    void closing();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool FitOuterFrame();
    void CentreOnScreen();
};
