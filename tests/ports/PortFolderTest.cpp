#include "PortDiscovery.h"
#include "TextHelpers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A private runtime folder with its port folder, and device files to link to.
class PortFolderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_savedRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", m_dir.path().toLocal8Bit());
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(PortFolder())));
    }

    void TearDown() override
    {
        if (m_savedRuntime.isNull())
            qunsetenv("XDG_RUNTIME_DIR");
        else
            qputenv("XDG_RUNTIME_DIR", m_savedRuntime);
    }

    std::string MakeDevice(const QString &name)
    {
        const QString path = m_dir.path() + "/" + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return QFileInfo(path).canonicalFilePath().toStdString();
    }

    void Link(const QString &name, const std::string &target)
    {
        const QString link = QString::fromStdString(PortFolder()) + "/" + name;
        ASSERT_TRUE(QFile::link(QString::fromStdString(target), link));
    }

    QTemporaryDir m_dir;
    QByteArray m_savedRuntime;
};

int ParsedNumber(const Text &friendlyName)
{
    return TextToInt(TextBetween(friendlyName, "COM", ")"));
}

} // namespace

TEST_F(PortFolderTest, FolderFollowsRuntimeDirectory)
{
    EXPECT_EQ(PortFolder(), m_dir.path().toStdString() + "/tq5520/ports");
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(PortFolder(), "/tmp/tq5520-" + std::to_string(getuid()) + "/ports");
}

TEST_F(PortFolderTest, LinksFirstThenDevicesOnFreeNumbersInFamilyOrder)
{
    const std::string one = MakeDevice("a");
    const std::string three = MakeDevice("b");
    Link("com1", one);
    Link("com3", three);
    Link("com2", m_dir.path().toStdString() + "/missing"); // dangling: holds no number
    for (const char *ignored : {"com0", "com-1", "comx", "com01", "com", "COM4", "tty5"})
        Link(ignored, one);
    QFile plain(QString::fromStdString(PortFolder()) + "/com9"); // not a link
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));

    const std::vector<SerialDevice> devices = {
        {"rfcomm0", "/dev/x/rfcomm0", "Bluetooth"},
        {"ttyACM0", "/dev/x/ttyACM0", "Modem"},
        {"ttyUSB1", "/dev/x/ttyUSB1", ""},
        {"ttyS10", "/dev/x/ttyS10", ""},
        {"ttyUSB0", "/dev/x/ttyUSB0", "USB Serial"},
        {"ttyS2", "/dev/x/ttyS2", ""},
        {"linked", three, "Linked device"}, // a link already points to it
        {"ttyAMA0", "/dev/x/ttyAMA0", ""},
    };
    std::vector<ComPortEntry> list;
    NumberComPorts(devices, list);

    const std::vector<std::pair<int, std::string>> expected = {
        {1, one}, {3, three}, {2, "/dev/x/ttyS2"}, {4, "/dev/x/ttyS10"}, {5, "/dev/x/ttyUSB0"},
        {6, "/dev/x/ttyUSB1"}, {7, "/dev/x/ttyACM0"}, {8, "/dev/x/rfcomm0"}, {9, "/dev/x/ttyAMA0"},
    };
    ASSERT_EQ(list.size(), expected.size());
    for (size_t i = 0; i < list.size(); ++i) {
        SCOPED_TRACE(list[i].FriendlyName);
        EXPECT_EQ(list[i].PortNumber, expected[i].first);
        EXPECT_EQ(list[i].DevicePath, expected[i].second);
        EXPECT_EQ(ParsedNumber(list[i].FriendlyName), expected[i].first);
    }
    EXPECT_EQ(list[1].FriendlyName, "Linked device (COM3)");
    EXPECT_EQ(list[2].FriendlyName, "Serial port ttyS2 (COM2)");
    EXPECT_EQ(list[4].FriendlyName, "USB Serial (COM5)");
}

TEST_F(PortFolderTest, FriendlyNamesParseBackWhateverTheDescription)
{
    const std::vector<Text> descriptions = {
        "USB COM adapter",                       // a COM of its own
        "COMCOM",
        "\xB4\xAE\xBF\xDA (x)",                    // Chinese with parentheses
        "\xB4\xAE" "COM",                          // COM right after a double-byte character
        "\x81",                                   // a lone lead byte
    };
    std::vector<SerialDevice> devices;
    for (size_t i = 0; i < descriptions.size(); ++i)
        devices.push_back({"ttyUSB" + std::to_string(i), "/dev/x/ttyUSB" + std::to_string(i), descriptions[i]});
    std::vector<ComPortEntry> list;
    NumberComPorts(devices, list);
    ASSERT_EQ(list.size(), descriptions.size());
    for (size_t i = 0; i < list.size(); ++i) {
        SCOPED_TRACE(list[i].FriendlyName);
        const Text ending = " (COM" + std::to_string(i + 1) + ")";
        ASSERT_GE(list[i].FriendlyName.size(), ending.size());
        EXPECT_EQ(list[i].FriendlyName.substr(list[i].FriendlyName.size() - ending.size()), ending);
        EXPECT_EQ(list[i].PortNumber, int(i + 1));
        EXPECT_EQ(ParsedNumber(list[i].FriendlyName), int(i + 1));
    }
}

TEST_F(PortFolderTest, DevicePathForPortFollowsTheEnumeration)
{
    const std::string target = MakeDevice("pty");
    Link("com7", target);
    Link("com8", target); // a second name for the same device meets the same lock
    std::vector<ComPortEntry> list;
    EnumerateComPorts(list);
    ASSERT_GE(list.size(), 2u);
    int highest = 0;
    for (const ComPortEntry &entry : list) {
        EXPECT_EQ(DevicePathForPort(entry.PortNumber), entry.DevicePath) << entry.FriendlyName;
        highest = std::max(highest, int(entry.PortNumber));
    }
    EXPECT_EQ(DevicePathForPort(7), target);
    EXPECT_EQ(DevicePathForPort(8), target);
    EXPECT_EQ(DevicePathForPort(highest + 1), std::nullopt);
    EXPECT_EQ(DevicePathForPort(0), std::nullopt);
}
