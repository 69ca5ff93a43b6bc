#include "TempPortFolder.h"

#include "PortDiscovery.h"

#include <QDir>

#include <unistd.h>

TempPortFolder::TempPortFolder() : m_saved(qgetenv("XDG_RUNTIME_DIR"))
{
    qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
    QDir().mkpath(QString::fromStdString(PortFolder()));
}

TempPortFolder::~TempPortFolder()
{
    if (m_saved.isEmpty())
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", m_saved);
}

void TempPortFolder::Link(int portNumber, const std::string &target)
{
    const std::string link = PortFolder() + "/com" + std::to_string(portNumber);
    unlink(link.c_str());
    symlink(target.c_str(), link.c_str());
}
