#include "PortDiscovery.h"

#include "Gbk.h"
#include "TextHelpers.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

#include <unistd.h>

namespace {

// N of a link name comN: decimal digits without a leading zero, at least 1.
// 0 for any other name.
int LinkNumber(const QString &name)
{
    if (!name.startsWith(QLatin1String("com")))
        return 0;
    const QString digits = name.mid(3);
    if (digits.isEmpty() || digits.front() == QLatin1Char('0'))
        return 0;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return 0;
    }
    bool ok = false;
    const int number = digits.toInt(&ok);
    return ok ? number : 0;
}

// ttyS first, then ttyUSB, then ttyACM, each by number; the rest by name.
std::tuple<int, long long, std::string> DeviceOrder(const std::string &name)
{
    static const std::vector<std::string> families = {"ttyS", "ttyUSB", "ttyACM"};
    for (size_t rank = 0; rank < families.size(); ++rank) {
        const std::string &family = families[rank];
        if (name.size() <= family.size() || name.compare(0, family.size(), family) != 0)
            continue;
        const std::string digits = name.substr(family.size());
        if (digits.size() > 9 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        return {int(rank), std::stoll(digits), name};
    }
    return {int(families.size()), 0, name};
}

std::string Canonical(const std::string &path)
{
    const QString canonical = QFileInfo(QString::fromStdString(path)).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical.toStdString();
}

// A name as Windows gives it, "<description> (COMN)". A "COM" inside the
// description would be taken for the port name, so it is spelt otherwise.
ComPortEntry MakeEntry(const Text &description, int number, const std::string &devicePath)
{
    Text shown;
    size_t i = 0;
    while (i < description.size()) {
        if (description.compare(i, 3, "COM") == 0) {
            shown += "Com";
            i += 3;
        } else {
            // A double-byte character is copied whole.
            const size_t length = static_cast<unsigned char>(description[i]) >= 0x80 ? 2 : 1;
            shown += description.substr(i, length);
            i += length;
        }
    }
    ComPortEntry entry;
    entry.FriendlyName = shown + " (COM" + std::to_string(number) + ")";
    entry.PortNumber = TextToInt(TextBetween(entry.FriendlyName, "COM", ")"));
    entry.DevicePath = devicePath;
    return entry;
}

Text DescribeDevice(const Text &description, const std::string &name)
{
    return description.empty() ? "Serial port " + name : description;
}

} // namespace

std::string PortFolder()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return runtime.toStdString() + "/tq5520/ports";
    return "/tmp/tq5520-" + std::to_string(getuid()) + "/ports";
}

std::vector<SerialDevice> SystemSerialDevices()
{
    std::vector<SerialDevice> devices;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        devices.push_back({info.portName().toStdString(), info.systemLocation().toStdString(),
                           QStringToGbk(info.description())});
    }
    return devices;
}

void NumberComPorts(const std::vector<SerialDevice> &devices, std::vector<ComPortEntry> &list)
{
    list.clear();

    // The links, by number; a link whose target is missing holds no number.
    std::map<int, std::string> links;
    const QDir folder(QString::fromStdString(PortFolder()));
    for (const QFileInfo &link : folder.entryInfoList(QDir::System | QDir::AllEntries | QDir::NoDotAndDotDot)) {
        const int number = LinkNumber(link.fileName());
        if (number < 1 || !link.isSymLink() || !link.exists())
            continue;
        links[number] = link.canonicalFilePath().toStdString();
    }

    std::set<std::string> linked;
    for (const auto &[number, path] : links)
        linked.insert(path);

    for (const auto &[number, path] : links) {
        Text description;
        for (const SerialDevice &device : devices) {
            if (Canonical(device.DevicePath) == path && !device.Description.empty())
                description = device.Description;
        }
        if (description.empty())
            description = "Serial port " + (path.rfind("/dev/", 0) == 0 ? path.substr(5) : path);
        list.push_back(MakeEntry(description, number, path));
    }

    std::vector<SerialDevice> rest;
    for (const SerialDevice &device : devices) {
        if (!linked.count(Canonical(device.DevicePath)))
            rest.push_back(device);
    }
    std::stable_sort(rest.begin(), rest.end(), [](const SerialDevice &a, const SerialDevice &b) {
        return DeviceOrder(a.Name) < DeviceOrder(b.Name);
    });

    int next = 1;
    for (const SerialDevice &device : rest) {
        while (links.count(next))
            ++next;
        list.push_back(MakeEntry(DescribeDevice(device.Description, device.Name), next, Canonical(device.DevicePath)));
        ++next;
    }
}

void EnumerateComPorts(std::vector<ComPortEntry> &list)
{
    NumberComPorts(SystemSerialDevices(), list);
}

std::optional<std::string> DevicePathForPort(int portNumber)
{
    // A link comN holds its number whatever else is present, so the system's
    // devices (a slow scan) are asked only for a number without a link.
    const QFileInfo link(QString::fromStdString(PortFolder() + "/com" + std::to_string(portNumber)));
    if (portNumber >= 1 && link.isSymLink() && link.exists())
        return link.canonicalFilePath().toStdString();
    std::vector<ComPortEntry> list;
    EnumerateComPorts(list);
    for (const ComPortEntry &entry : list) {
        if (entry.PortNumber == portNumber)
            return entry.DevicePath;
    }
    return std::nullopt;
}
