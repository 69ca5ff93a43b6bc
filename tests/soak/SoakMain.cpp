// READ and SET, over and over, against the simulated device: every
// configuration written must be the one the device stores, every one read
// must be the one the window shows, and resident memory must not grow.
//
//     tq5520_soak [cycles]     (default 1000; about 0.8 s a cycle)

#include "AppState.h"
#include "Commands.h"
#include "Framer.h"
#include "InfoBox.h"
#include "MainWindow.h"
#include "SerialPortUnit.h"
#include "Simulator.h"
#include "Startup.h"

#include <QApplication>

#include <algorithm>
#include <chrono>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

long ResidentKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return -1;
}

struct Config
{
    int selections[8];
    int timeout;
    int interval;

    Text Record() const
    {
        Text record;
        for (int i = 0; i < 8; ++i) {
            record += i % 2 == 0 ? BaudTable[size_t(selections[i])] : ParityTable[size_t(selections[i])];
            record += ",";
        }
        return record + std::to_string(timeout) + "," + std::to_string(interval);
    }
};

Config RandomConfig(std::mt19937 &random)
{
    Config config{};
    for (int i = 0; i < 8; ++i)
        config.selections[i] = int(random() % (i % 2 == 0 ? BaudTable.size() : ParityTable.size()));
    config.timeout = int(random() % 10001);
    config.interval = int(random() % 10001);
    return config;
}

std::string Escaped(const Text &text)
{
    std::string out;
    for (const unsigned char c : text) {
        if (c >= 32 && c < 127) {
            out += char(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

long long LongestGapMilliseconds(const std::vector<std::chrono::steady_clock::time_point> &times)
{
    std::chrono::steady_clock::duration longest{};
    for (size_t i = 1; i < times.size(); ++i)
        longest = std::max(longest, times[i] - times[i - 1]);
    return std::chrono::duration_cast<std::chrono::milliseconds>(longest).count();
}

std::vector<ComboBox *> ChannelCombos(MainWindow &w)
{
    return {w.Com1BaudCombo, w.Com1ParityCombo, w.Com2BaudCombo, w.Com2ParityCombo,
            w.Com3BaudCombo, w.Com3ParityCombo, w.Com4BaudCombo, w.Com4ParityCombo};
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 1000;

    // A port folder of our own, so that no other link is picked.
    char folder[] = "/tmp/tq5520-soak-XXXXXX";
    if (!mkdtemp(folder))
        return 2;
    setenv("XDG_RUNTIME_DIR", folder, 1);

    Simulator sim;
    sim.SetConnectWindow(false);
    if (!sim.Start(40)) {
        std::fprintf(stderr, "simulator: %s\n", sim.Error().c_str());
        return 2;
    }
    int messages = 0;
    SetInfoBoxAnswerer([&messages](const Text &text) {
        ++messages;
        std::fprintf(stderr, "message: %s\n", text.c_str());
    });

    AppState state;
    AllocRxBuffer(state);
    int failures = 0;
    long warmKilobytes = 0;
    long finalKilobytes = 0;
    {
        MainWindow window;
        WireMainWindow(state, window);
        OnMainWindowCreated(state, window);
        window.ConnButton->click();
        if (state.LinkOpen != 1) {
            std::fprintf(stderr, "could not connect\n");
            return 1;
        }

        // When each byte of a READ reply was handled: a reply cut in two shows
        // as a gap of 40 ms or more here.
        std::vector<std::chrono::steady_clock::time_point> byteTimes;
        QObject::connect(window.SerialPort, &SerialPortUnit::dataReceived,
                         [&byteTimes](int) { byteTimes.push_back(std::chrono::steady_clock::now()); });
        std::mt19937 random(5520);
        for (int cycle = 1; cycle <= cycles; ++cycle) {
            // SET: the window's configuration goes into the device.
            const Config written = RandomConfig(random);
            const std::vector<ComboBox *> combos = ChannelCombos(window);
            for (int i = 0; i < 8; ++i)
                combos[size_t(i)]->SetSelection(written.selections[i]);
            window.TimeoutEdit->SetContent(std::to_string(written.timeout));
            window.IntervalEdit->SetContent(std::to_string(written.interval));
            window.SetButton->click();
            if (sim.Config() != written.Record()) {
                ++failures;
                std::fprintf(stderr, "cycle %d: SET stored %s, not %s\n", cycle, sim.Config().c_str(), written.Record().c_str());
            }

            // READ: a configuration changed on the device shows in the window.
            const Config stored = RandomConfig(random);
            sim.SetConfig(stored.Record());
            byteTimes.clear();
            window.ReadButton->click();
            bool same = window.TimeoutEdit->Content() == std::to_string(stored.timeout)
                && window.IntervalEdit->Content() == std::to_string(stored.interval) + "\r\n";
            for (int i = 0; i < 8; ++i)
                same = same && combos[size_t(i)]->Selection() == stored.selections[i];
            if (!same) {
                ++failures;
                std::fprintf(stderr, "cycle %d: READ showed something else than %s; the reply was %s; longest gap between bytes %lld ms\n",
                             cycle, stored.Record().c_str(), Escaped(window.ReceiveTextEdit->Content()).c_str(),
                             LongestGapMilliseconds(byteTimes));
            }
            if (state.LinkOpen != 1) {
                ++failures;
                std::fprintf(stderr, "cycle %d: disconnected\n", cycle);
                window.ConnButton->click();
            }
            sim.ClearLog();

            if (cycle == std::min(50, cycles))
                warmKilobytes = ResidentKilobytes();
            if (cycle == cycles)
                finalKilobytes = ResidentKilobytes();
            if (cycle % 100 == 0 || cycle == cycles)
                std::printf("cycle %d: resident %ld kB, failures %d\n", cycle, ResidentKilobytes(), failures);
            std::fflush(stdout);
        }
        window.ConnButton->click();
        StopWatchThread(state);
    }
    const long growth = finalKilobytes - warmKilobytes;
    FreeRxBuffer(state);
    sim.Stop();
    std::filesystem::remove_all(folder);

    std::printf("%d cycles, %d failures, %d messages, resident memory growth after warm-up %ld kB\n",
                cycles, failures, messages, growth);
    return failures == 0 && messages == 0 && growth <= 1024 ? 0 : 1;
}
