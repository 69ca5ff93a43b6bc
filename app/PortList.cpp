#include "Startup.h"

#include "Gbk.h"
#include "MainWindow.h"
#include "PortDiscovery.h"

#include <QFile>

#include <string>
#include <vector>

namespace {

std::function<void(std::vector<ComPortEntry> &)> Enumerator;

// The description and the device, so that a user can tell two ports apart.
QString PortToolTip(const ComPortEntry &entry)
{
    const QString device = QFile::decodeName(QByteArray::fromStdString(entry.DevicePath));
    QString tip = QStringLiteral("<nobr>") + GbkToQString(entry.FriendlyName).toHtmlEscaped() + QStringLiteral("</nobr>");
    if (!device.isEmpty())
        tip += QStringLiteral("<br><nobr>") + device.toHtmlEscaped() + QStringLiteral("</nobr>");
    return tip;
}

} // namespace

void RefreshPortList(MainWindow &window)
{
    std::vector<ComPortEntry> entries;
    if (Enumerator)
        Enumerator(entries);
    else
        EnumerateComPorts(entries);
    const size_t count = entries.size();

    ComboBox *combo = window.PortCombo;
    combo->SetSelection(-1);
    combo->Clear();
    for (const ComPortEntry &entry : entries) {
        const int index = combo->AddItem("COM" + std::to_string(entry.PortNumber), entry.PortNumber);
        combo->setItemData(index, PortToolTip(entry), Qt::ToolTipRole);
    }
    // Selecting here is not the user's choice: the port keeps its number.
    if (count > 0)
        combo->SetSelection(0);
}

void SetPortEnumerator(std::function<void(std::vector<ComPortEntry> &)> enumerate)
{
    Enumerator = std::move(enumerate);
}
