#include "SerialPortUnit.h"
// stub until the serial work lands
SerialPortUnit::SerialPortUnit(QObject *parent) : QObject(parent) {}
SerialPortUnit::~SerialPortUnit() = default;
void SerialPortUnit::SetPortNumber(int number) { m_portNumber = number < 1 ? 1 : number; }
int SerialPortUnit::PortNumber() const { return m_portNumber; }
void SerialPortUnit::SetBaudRate(int baud) { m_baudRate = baud; }
void SerialPortUnit::SetDataBits(int bits) { m_dataBits = bits; }
void SerialPortUnit::SetStopBits(int code) { m_stopBits = code; }
void SerialPortUnit::SetParity(int code) { m_parity = code; }
void SerialPortUnit::SetParityCheck(bool on) { m_parityCheck = on; }
void SerialPortUnit::SetTimeout(int milliseconds) { m_timeout = milliseconds; }
bool SerialPortUnit::Open() { return false; }
void SerialPortUnit::Close() {}
bool SerialPortUnit::IsOpen() const { return false; }
bool SerialPortUnit::Send(const Text &) { return false; }
