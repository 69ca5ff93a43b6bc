#include "PortDiscovery.h"
// stub until the port discovery work lands
void EnumerateComPorts(std::vector<ComPortEntry> &list) { list.clear(); }
std::optional<std::string> DevicePathForPort(int) { return std::nullopt; }
std::string PortFolder() { return {}; }
