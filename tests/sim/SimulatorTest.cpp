#include "PortDiscovery.h"
#include "PtyClient.h"
#include "Simulator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <thread>

#include <unistd.h>

namespace {

using Kind = SimEvent::Kind;

const Text Setting = "+++@@@AAA=setting\r\n";
const Text Version = "+++@@@AAA=Ver\r\n";
const Text ReadConfig = "+++@@@AAA=?\r\n";
const Text Working = "+++@@@AAA=working\r\n";
const Text ConfigReply = "+++@@@AAA=" + DefaultConfig + "\r\n";

std::string LinkTarget(const std::string &link)
{
    std::error_code error;
    return std::filesystem::read_symlink(link, error).string();
}

bool Exists(const std::string &path)
{
    return std::filesystem::is_symlink(path) || std::filesystem::exists(path);
}

class SimulatorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        sim.SetConnectWindow(false);
        ASSERT_TRUE(sim.Start()) << sim.Error();
    }

    // Through the link, as the tool opens the port.
    Received Ask(const Text &command, std::chrono::milliseconds firstByte = 2s)
    {
        return Exchange(sim.LinkPath(), command, 150ms, firstByte);
    }

    Simulator sim;
};

TEST(SimulatorPorts, LinksTheLowestFreeNumberOrTheOneAskedForAndRemovesItAtStop)
{
    Simulator first;
    Simulator second;
    Simulator seventh;
    Simulator clash;
    ASSERT_TRUE(first.Start()) << first.Error();
    ASSERT_TRUE(second.Start()) << second.Error();
    ASSERT_TRUE(seventh.Start(7)) << seventh.Error();
    EXPECT_EQ(first.PortNumber(), 1);
    EXPECT_EQ(second.PortNumber(), 2);
    EXPECT_EQ(seventh.PortNumber(), 7);
    EXPECT_EQ(first.LinkPath(), PortFolder() + "/com1");
    EXPECT_EQ(LinkTarget(first.LinkPath()), first.SlavePath());
    EXPECT_EQ(DevicePathForPort(7), seventh.SlavePath());

    EXPECT_FALSE(clash.Start(2));
    EXPECT_NE(clash.Error().find("COM2"), std::string::npos) << clash.Error();
    EXPECT_EQ(LinkTarget(second.LinkPath()), second.SlavePath());

    first.Stop();
    EXPECT_FALSE(Exists(PortFolder() + "/com1"));
    EXPECT_TRUE(Exists(PortFolder() + "/com2"));
    // The freed number is the lowest free one again.
    ASSERT_TRUE(clash.Start()) << clash.Error();
    EXPECT_EQ(clash.PortNumber(), 1);
}

TEST(SimulatorPorts, TakesOverALinkLeftBehindByADeviceThatIsGone)
{
    std::filesystem::create_directories(PortFolder());
    std::filesystem::create_symlink("/dev/pts/no-such-device", PortFolder() + "/com4");
    Simulator sim;
    ASSERT_TRUE(sim.Start(4)) << sim.Error();
    EXPECT_EQ(LinkTarget(PortFolder() + "/com4"), sim.SlavePath());
    sim.Stop();
    EXPECT_FALSE(Exists(PortFolder() + "/com4"));
}

TEST_F(SimulatorTest, AnswersEachCommand)
{
    const struct
    {
        Text command;
        Text reply;
    } cases[] = {
        {Setting, "setting ok\r\n"},
        {Version, "TQ-5520 V1.00 (simulator)\r\n"},
        {ReadConfig, ConfigReply},
        {Working, "working ok\r\n"},
        {"hello device\r\n", "echo: hello device\r\n"},
        {"+++@@@AAA=unknown\r\n", "echo: +++@@@AAA=unknown\r\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.command);
        const Received r = Ask(c.command);
        EXPECT_EQ(r.bytes, c.reply);
        EXPECT_FALSE(r.hungUp);
    }
}

TEST_F(SimulatorTest, StoresAWrittenConfigurationAndReadsItBack)
{
    const Text record = "1200,odd,2400,even,4800,none,230400,odd,0,10000";
    EXPECT_EQ(Ask("+++@@@AAA=" + record + "\r\n").bytes, "+++@@@AAA=" + record + "\r\n");
    EXPECT_EQ(sim.Config(), record);
    EXPECT_EQ(Ask(ReadConfig).bytes, "+++@@@AAA=" + record + "\r\n");

    sim.SetConfig("19200,even,38400,odd,57600,none,115200,even,1,2");
    EXPECT_EQ(Ask(ReadConfig).bytes, "+++@@@AAA=19200,even,38400,odd,57600,none,115200,even,1,2\r\n");
}

TEST_F(SimulatorTest, PacesAReplyAtTheLineSpeedWithoutSplittingIt)
{
    // 62 bytes at about 1.04 ms each; bounds are loose on purpose.
    const Received r = Ask(ReadConfig);
    ASSERT_EQ(r.bytes, ConfigReply);
    EXPECT_GE(r.Span(), 30ms);
    EXPECT_LT(r.Span(), 2s);
    EXPECT_LT(r.LongestGap(), 40ms);
}

TEST_F(SimulatorTest, LogsEachLineBetweenAnOpenAndACloseOfThePort)
{
    ASSERT_EQ(Ask(Setting).bytes, "setting ok\r\n");
    ASSERT_EQ(Ask("abc\r\n").bytes, "echo: abc\r\n");
    ASSERT_TRUE(sim.WaitForLog([](const auto &log) { return log.size() >= 8; }, 5s));

    const std::vector<SimEvent> log = sim.Log();
    std::vector<Kind> kinds;
    for (const SimEvent &e : log)
        kinds.push_back(e.kind);
    EXPECT_EQ(kinds, (std::vector<Kind>{Kind::Opened, Kind::Line, Kind::Reply, Kind::Closed, Kind::Opened, Kind::Line,
                                        Kind::Reply, Kind::Closed}));
    EXPECT_TRUE(std::is_sorted(log.begin(), log.end(), [](const auto &a, const auto &b) { return a.time < b.time; }));
    EXPECT_EQ(sim.Lines(), (std::vector<Text>{Setting, "abc\r\n"}));
    EXPECT_EQ(log[2].text, "setting ok\r\n");

    // A line is complete only with its LF, however it is split on the way.
    const int fd = OpenRaw(sim.SlavePath());
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "+++@@@AAA=", 10), 10);
    std::this_thread::sleep_for(50ms);
    ASSERT_EQ(write(fd, "Ver\r\n", 5), 5);
    EXPECT_EQ(ReadReply(fd).bytes, "TQ-5520 V1.00 (simulator)\r\n");
    close(fd);
    EXPECT_EQ(sim.Lines().back(), Version);

    sim.ClearLog();
    EXPECT_TRUE(sim.Log().empty());
}

TEST_F(SimulatorTest, ConnectWindowRestartsAtPowerCycle)
{
    sim.SetConnectWindow(true, 300ms);
    sim.PowerCycle();
    EXPECT_EQ(Ask(Setting).bytes, "setting ok\r\n");
    EXPECT_FALSE(Ask(Working).bytes.empty());
    std::this_thread::sleep_for(400ms);

    EXPECT_EQ(Ask(Setting, 500ms).bytes, "");
    EXPECT_FALSE(Ask(Version).bytes.empty());
    sim.PowerCycle();
    EXPECT_EQ(Ask(Setting).bytes, "setting ok\r\n");
}

struct MisbehaviourCase
{
    Misbehaviour m;
    Text command;
    std::function<void(const Received &)> check;
};

TEST_F(SimulatorTest, MisbehavesAsTold)
{
    const MisbehaviourCase cases[] = {
        {Misbehaviour::Silent, Setting, [](const Received &r) { EXPECT_EQ(r.bytes, ""); }},
        {Misbehaviour::CapitalSetting, Setting, [](const Received &r) { EXPECT_EQ(r.bytes, "Setting ok\r\n"); }},
        {Misbehaviour::CapitalSetting, Version, [](const Received &r) { EXPECT_NE(r.bytes, ""); }},
        {Misbehaviour::NoPrefix, ReadConfig, [](const Received &r) { EXPECT_EQ(r.bytes, DefaultConfig + "\r\n"); }},
        {Misbehaviour::NoConfigReply, ReadConfig, [](const Received &r) { EXPECT_EQ(r.bytes, ""); }},
        {Misbehaviour::NoConfigReply, Setting, [](const Received &r) { EXPECT_EQ(r.bytes, "setting ok\r\n"); }},
        {Misbehaviour::NoConfigReply, Version, [](const Received &r) { EXPECT_NE(r.bytes, ""); }},
        {Misbehaviour::CutReply, ReadConfig,
         [](const Received &r) {
             EXPECT_EQ(r.bytes, ConfigReply);
             EXPECT_GE(r.LongestGap(), 50ms);
         }},
        {Misbehaviour::TooLong, Version,
         [](const Received &r) {
             EXPECT_GT(r.bytes.size(), 250u);
             EXPECT_TRUE(r.bytes.starts_with("TQ-5520 V1.00")) << r.bytes;
             EXPECT_LT(r.LongestGap(), 40ms);
         }},
        {Misbehaviour::ZeroAndHighBytes, Setting,
         [](const Received &r) {
             EXPECT_NE(r.bytes.find('\0'), Text::npos);
             EXPECT_NE(r.bytes.find('\x80'), Text::npos);
             EXPECT_NE(r.bytes.find('\xFF'), Text::npos);
             EXPECT_NE(r.bytes.find("setting"), Text::npos);
         }},
        {Misbehaviour::Trickle, Setting,
         [](const Received &r) {
             EXPECT_EQ(r.bytes, "setting ok\r\n");
             EXPECT_GE(r.MedianGap(), 20ms);
             EXPECT_LT(r.MedianGap(), 40ms);
         }},
    };
    for (const MisbehaviourCase &c : cases) {
        SCOPED_TRACE(std::string(MisbehaviourName(c.m)) + " " + c.command);
        sim.SetMisbehaviour(c.m);
        c.check(Ask(c.command, 500ms));
    }
}

TEST_F(SimulatorTest, MisbehavesOnlyForTheGivenLine)
{
    sim.SetMisbehaviour(Misbehaviour::Silent, Version);
    EXPECT_EQ(Ask(Setting).bytes, "setting ok\r\n");
    EXPECT_EQ(Ask(Version, 500ms).bytes, "");
}

TEST_F(SimulatorTest, HangsUpMidReplyAndComesBackOnANewPort)
{
    sim.SetMisbehaviour(Misbehaviour::HangUp);
    const Received r = Ask(ReadConfig);
    EXPECT_TRUE(r.hungUp);
    EXPECT_FALSE(r.bytes.empty());
    EXPECT_LT(r.bytes.size(), ConfigReply.size());
    EXPECT_TRUE(ConfigReply.starts_with(r.bytes));
    ASSERT_TRUE(sim.WaitForLog(
        [](const auto &log) { return std::any_of(log.begin(), log.end(), [](auto &e) { return e.kind == Kind::HungUp; }); },
        5s));

    EXPECT_EQ(LinkTarget(sim.LinkPath()), sim.SlavePath());
    sim.SetMisbehaviour(Misbehaviour::None);
    EXPECT_EQ(Ask(Setting).bytes, "setting ok\r\n");
}

TEST_F(SimulatorTest, RemovesItsLinkButKeepsServingThePty)
{
    sim.SetMisbehaviour(Misbehaviour::RemoveLink);
    EXPECT_EQ(Ask(Setting).bytes, "setting ok\r\n");
    EXPECT_FALSE(Exists(sim.LinkPath()));
    sim.SetMisbehaviour(Misbehaviour::None);
    EXPECT_EQ(Exchange(sim.SlavePath(), Version).bytes, "TQ-5520 V1.00 (simulator)\r\n");

    // A link of the same name made by somebody else afterwards stays.
    std::filesystem::create_symlink("/dev/null", sim.LinkPath());
    sim.Stop();
    EXPECT_EQ(LinkTarget(sim.LinkPath()), "/dev/null");
}

TEST_F(SimulatorTest, StopCutsALongReplyShort)
{
    sim.SetMisbehaviour(Misbehaviour::Trickle);
    const int fd = OpenRaw(sim.SlavePath());
    ASSERT_GE(fd, 0);
    const Text line(200, 'x');
    ASSERT_EQ(write(fd, (line + "\r\n").data(), line.size() + 2), static_cast<ssize_t>(line.size() + 2));
    // The echo takes over six seconds at 30 ms a byte.
    EXPECT_FALSE(ReadReply(fd, 0ms).bytes.empty());
    const std::string link = sim.LinkPath();
    const auto start = std::chrono::steady_clock::now();
    sim.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    EXPECT_FALSE(Exists(link));
    close(fd);
}

} // namespace
