#pragma once

#include "Text.h"

#include <QByteArray>
#include <QObject>

class QSerialPort;

// The one serial port of the window. Settings are only stored; they take
// effect at the next Open. Every received byte is handed out as one
// dataReceived signal, in order, on the thread that owns the unit.
class SerialPortUnit : public QObject
{
    Q_OBJECT

public:
    explicit SerialPortUnit(QObject *parent = nullptr);
    ~SerialPortUnit() override;

    // A number below 1 is stored as 1.
    void SetPortNumber(int number);
    int PortNumber() const;
    void SetBaudRate(int baud);
    void SetDataBits(int bits);
    void SetStopBits(int code);  // 1 one, 2 one and a half, 3 two
    void SetParity(int code);    // 0 none, 1 odd, 2 even, 3 mark, 4 space
    void SetParityCheck(bool on);
    void SetTimeout(int milliseconds);

    // Closes first, then opens COMN exclusively with the stored settings and
    // discards pending input and output. False leaves the port closed.
    bool Open();
    // Stops the data events; bytes not yet handed out are dropped.
    void Close();
    bool IsOpen() const;
    // Drops undelivered input, then writes the bytes and blocks until they are
    // written or the timeout passes. False on a closed port or a failed write.
    bool Send(const Text &bytes);

signals:
    void dataReceived(int byte);

private:
    void DeliverBytes();
    void DeliverLater();
    void OnPortError(int error);

    QSerialPort *m_port = nullptr;
    int m_portNumber = 1;
    int m_baudRate = 9600;
    int m_dataBits = 8;
    int m_stopBits = 1;
    int m_parity = 0;
    bool m_parityCheck = true;
    int m_timeout = 1000;

    // Bytes read from the port and not yet handed out, from m_next on.
    QByteArray m_pending;
    qsizetype m_next = 0;
    bool m_delivering = false;
    bool m_sending = false;
    // A close is queued for a port that has gone away.
    bool m_closePending = false;
};
