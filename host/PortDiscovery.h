#pragma once

#include "Text.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct ComPortEntry
{
    Text FriendlyName;      // a description followed by "(COMN)"
    int32_t PortNumber = 0; // parsed from FriendlyName; 0 when it holds none
    std::string DevicePath; // /dev/... the port is opened through
};

// The present serial ports in the system's order: first the links comN in
// the port folder, then the devices Qt lists that no link points to, each
// numbered with the lowest free COM number.
void EnumerateComPorts(std::vector<ComPortEntry> &list);

// The device that port COMN opens, by the same rule as EnumerateComPorts.
std::optional<std::string> DevicePathForPort(int portNumber);

// $XDG_RUNTIME_DIR/tq5520/ports, or /tmp/tq5520-<uid>/ports without it.
std::string PortFolder();

// A serial device as the system lists it.
struct SerialDevice
{
    std::string Name;       // ttyUSB0
    std::string DevicePath; // /dev/ttyUSB0
    Text Description;       // may be empty
};

// The serial devices Qt SerialPort lists right now.
std::vector<SerialDevice> SystemSerialDevices();

// The numbering rule of EnumerateComPorts over the given devices: the links
// of the port folder first, by number, then the devices no link points to.
void NumberComPorts(const std::vector<SerialDevice> &devices, std::vector<ComPortEntry> &list);
