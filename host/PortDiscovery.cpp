#include "PortDiscovery.h"

#include <QDir>
#include <QFileInfo>

#include <unistd.h>

// Only the port folder is read so far; the devices Qt lists come next.

std::string PortFolder()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return runtime.toStdString() + "/tq5520/ports";
    return "/tmp/tq5520-" + std::to_string(getuid()) + "/ports";
}

void EnumerateComPorts(std::vector<ComPortEntry> &list)
{
    list.clear();
}

std::optional<std::string> DevicePathForPort(int portNumber)
{
    const QFileInfo link(QString::fromStdString(PortFolder()) + QStringLiteral("/com%1").arg(portNumber));
    if (!link.isSymLink() || !link.exists())
        return std::nullopt;
    // The real device, so that every name for one port meets the same lock.
    return link.canonicalFilePath().toStdString();
}
