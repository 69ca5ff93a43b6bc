#include "SerialPortUnit.h"

#include "PortDiscovery.h"

#include <QElapsedTimer>
#include <QSerialPort>

#include <algorithm>

namespace {

QSerialPort::StopBits StopBitsFor(int code)
{
    switch (code) {
    case 2: return QSerialPort::OneAndHalfStop;
    case 3: return QSerialPort::TwoStop;
    default: return QSerialPort::OneStop;
    }
}

QSerialPort::Parity ParityFor(int code)
{
    switch (code) {
    case 1: return QSerialPort::OddParity;
    case 2: return QSerialPort::EvenParity;
    case 3: return QSerialPort::MarkParity;
    case 4: return QSerialPort::SpaceParity;
    default: return QSerialPort::NoParity;
    }
}

} // namespace

SerialPortUnit::SerialPortUnit(QObject *parent)
    : QObject(parent), m_port(new QSerialPort(this))
{
    connect(m_port, &QSerialPort::readyRead, this, &SerialPortUnit::DeliverBytes);
    connect(m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) { OnPortError(error); });
}

SerialPortUnit::~SerialPortUnit() = default;

void SerialPortUnit::SetPortNumber(int number) { m_portNumber = std::max(number, 1); }
int SerialPortUnit::PortNumber() const { return m_portNumber; }
void SerialPortUnit::SetBaudRate(int baud) { m_baudRate = std::max(baud, 0); }
void SerialPortUnit::SetDataBits(int bits) { m_dataBits = bits; }
void SerialPortUnit::SetStopBits(int code) { m_stopBits = std::clamp(code, 1, 3); }
void SerialPortUnit::SetParity(int code) { m_parity = std::clamp(code, 0, 4); }
// Qt reports no parity errors of its own; the setting is kept for what it says.
void SerialPortUnit::SetParityCheck(bool on) { m_parityCheck = on; }
void SerialPortUnit::SetTimeout(int milliseconds) { m_timeout = std::max(milliseconds, 0); }

bool SerialPortUnit::Open()
{
    Close();
    if (m_dataBits < 5 || m_dataBits > 8)
        return false;
    const std::optional<std::string> device = DevicePathForPort(m_portNumber);
    if (!device)
        return false;

    m_port->setPortName(QString::fromStdString(*device));
    m_port->setBaudRate(m_baudRate);
    m_port->setDataBits(QSerialPort::DataBits(m_dataBits));
    m_port->setStopBits(StopBitsFor(m_stopBits));
    m_port->setParity(ParityFor(m_parity));
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    // Qt takes a lock file besides TIOCEXCL, which alone does not stop root.
    if (!m_port->open(QIODevice::ReadWrite)) {
        m_port->close();
        return false;
    }
    // A pseudo-terminal has no RTS line; that is not a failure.
    m_port->setRequestToSend(true);
    m_port->clear(QSerialPort::AllDirections);
    return true;
}

void SerialPortUnit::Close()
{
    m_closePending = false;
    m_pending.clear();
    m_next = 0;
    if (m_port->isOpen())
        m_port->close();
}

bool SerialPortUnit::IsOpen() const
{
    return m_port->isOpen();
}

bool SerialPortUnit::Send(const Text &bytes)
{
    if (!m_port->isOpen())
        return false;
    if (bytes.empty())
        return true;

    // A reply still on its way from an earlier request must not be taken for
    // the answer to this one.
    m_port->clear(QSerialPort::Input);
    m_pending.clear();
    m_next = 0;

    // Bytes that arrive while the write blocks are handed out afterwards, not
    // from inside Send.
    m_sending = true;
    const qint64 queued = m_port->write(bytes.data(), qint64(bytes.size()));
    QElapsedTimer clock;
    clock.start();
    while (m_port->isOpen() && m_port->bytesToWrite() > 0) {
        const qint64 left = m_timeout - clock.elapsed();
        if (left <= 0 || !m_port->waitForBytesWritten(int(left)))
            break;
    }
    m_sending = false;

    const bool written = m_port->isOpen() && queued == qint64(bytes.size()) && m_port->bytesToWrite() == 0;
    // What could not be written in time must not go out later.
    if (!written && m_port->isOpen())
        m_port->clear(QSerialPort::Output);
    if (m_port->isOpen() && m_port->bytesAvailable() > 0)
        DeliverLater();
    return written;
}

// One signal per byte. A handler may run the event loop (a Delay, a box); new
// data read meanwhile is appended and handed out by this same loop, so the
// order holds and nothing waits for the next notification.
void SerialPortUnit::DeliverBytes()
{
    if (m_delivering || m_sending)
        return;
    m_delivering = true;
    for (;;) {
        if (m_next >= m_pending.size()) {
            m_pending.clear();
            m_next = 0;
            if (!m_port->isOpen())
                break;
            m_pending = m_port->readAll();
            if (m_pending.isEmpty())
                break;
        }
        const int byte = static_cast<unsigned char>(m_pending[m_next++]);
        emit dataReceived(byte);
    }
    m_delivering = false;
}

void SerialPortUnit::DeliverLater()
{
    QMetaObject::invokeMethod(this, [this] { DeliverBytes(); }, Qt::QueuedConnection);
}

// A port whose device has gone (unplugged, the other side of a pty closed)
// keeps reporting read errors; it is closed, outside Qt's own handler. A later
// Open cancels the queued close.
void SerialPortUnit::OnPortError(int error)
{
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError)
        return;
    if (m_closePending || !m_port->isOpen())
        return;
    m_closePending = true;
    QMetaObject::invokeMethod(this, [this] {
        if (m_closePending)
            Close();
    }, Qt::QueuedConnection);
}
