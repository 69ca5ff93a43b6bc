// tq5520-sim: a TQ-5520 on a pseudo-terminal, for running the tool without
// the hardware.

#include "Simulator.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <poll.h>
#include <unistd.h>

namespace {

const char *const Usage =
    "Usage: tq5520-sim [options]\n"
    "Simulates a TQ-5520 on a pseudo-terminal that the tool lists as a COM port.\n"
    "It answers +++@@@AAA=setting, =Ver, =? (its configuration), a configuration\n"
    "write (+++@@@AAA= and ten comma-separated fields) and =working, each ended\n"
    "by CR LF, at 9600 baud; any other line comes back as \"echo: <line>\".\n"
    "\n"
    "  --port N          serve as COMN (default: the lowest free number from 1)\n"
    "  --no-window       accept the setting command at any time; by default it is\n"
    "                    accepted only within 5 s of power-on, as by the device\n"
    "  --config RECORD   the stored configuration, ten comma-separated fields\n"
    "                    (default " "9600,none,9600,none,9600,none,9600,none,1000,500)\n"
    "  --misbehave KIND  answer wrongly, one of:\n"
    "                      silent    answer nothing\n"
    "                      capital   answer the setting command with \"Setting\"\n"
    "                      noprefix  configuration reply without \"+++@@@AAA=\"\n"
    "                      noconfig  answer setting and version, not the configuration read\n"
    "                      cut       a 60 ms gap in the middle of each reply\n"
    "                      long      replies of 300 bytes\n"
    "                      binary    zero bytes and bytes 0x80..0xFF inside replies\n"
    "                      trickle   30 ms between the bytes of a reply\n"
    "                      hangup    hang up halfway through a reply (the port comes back)\n"
    "                      unlink    remove the port's link after the first reply\n"
    "  --help            show this text\n"
    "\n"
    "Press Enter (or send SIGUSR1) to power the device on again, which restarts\n"
    "its 5 s connect window. Ctrl-C or SIGTERM ends it and removes the port.\n";

std::string Printable(const Text &text)
{
    std::string out;
    for (const unsigned char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\\')
            out += "\\\\";
        else if (c < 0x20 || c >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

void Print(const SimEvent &event)
{
    switch (event.kind) {
    case SimEvent::Kind::Opened:
        std::printf("tq5520-sim: port opened\n");
        break;
    case SimEvent::Kind::Closed:
        std::printf("tq5520-sim: port closed\n");
        break;
    case SimEvent::Kind::Line:
        std::printf("tq5520-sim: received \"%s\"\n", Printable(event.text).c_str());
        break;
    case SimEvent::Kind::Reply:
        std::printf("tq5520-sim: sent     \"%s\"\n", Printable(event.text).c_str());
        break;
    case SimEvent::Kind::HungUp:
        std::printf("tq5520-sim: hung up; serving again on %s\n", event.text.c_str());
        break;
    }
}

bool ParseArguments(int argc, char **argv, Simulator &sim, int &port, bool &window)
{
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--help" || option == "-h") {
            std::fputs(Usage, stdout);
            std::exit(0);
        } else if (option == "--no-window") {
            sim.SetConnectWindow(false);
            window = false;
        } else if (option == "--port" && hasValue) {
            char *end = nullptr;
            const long value = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || value < 1 || value > 255) {
                std::fprintf(stderr, "tq5520-sim: --port wants a number from 1 to 255\n");
                return false;
            }
            port = static_cast<int>(value);
        } else if (option == "--config" && hasValue) {
            sim.SetConfig(argv[++i]);
        } else if (option == "--misbehave" && hasValue) {
            Misbehaviour m;
            if (!MisbehaviourFromName(argv[++i], m)) {
                std::fprintf(stderr, "tq5520-sim: unknown misbehaviour \"%s\" (see --help)\n", argv[i]);
                return false;
            }
            sim.SetMisbehaviour(m);
        } else {
            std::fprintf(stderr, "tq5520-sim: unknown or incomplete option \"%s\" (see --help)\n", option.c_str());
            return false;
        }
    }
    return true;
}

// A line on a terminal powers the device on again. False once the terminal
// cannot be read (closed, or this process runs in the background).
bool PowerButtonPressed(bool &watching)
{
    if (!watching)
        return false;
    pollfd fd = {STDIN_FILENO, POLLIN, 0};
    if (poll(&fd, 1, 0) <= 0)
        return false;
    char buffer[256];
    if (read(STDIN_FILENO, buffer, sizeof buffer) <= 0) {
        watching = false;
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    setvbuf(stdout, nullptr, _IOLBF, 0);
    Simulator sim;
    int port = 0;
    bool window = true;
    if (!ParseArguments(argc, argv, sim, port, window))
        return 2;

    // The signals are taken in this loop; the device's thread inherits the
    // mask, so none of them lands there.
    sigset_t signals;
    sigemptyset(&signals);
    for (const int s : {SIGINT, SIGTERM, SIGHUP, SIGUSR1}) {
        // A shell starts a background job with SIGINT ignored, and an ignored
        // signal never arrives here.
        std::signal(s, SIG_DFL);
        sigaddset(&signals, s);
    }
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGTTIN, SIG_IGN);

    if (!sim.Start(port)) {
        std::fprintf(stderr, "tq5520-sim: %s\n", sim.Error().c_str());
        return 1;
    }
    std::printf("tq5520-sim: serving COM%d on %s (link %s)\n", sim.PortNumber(), sim.SlavePath().c_str(),
                sim.LinkPath().c_str());
    if (window)
        std::printf("tq5520-sim: connect within 5 s of power-on; press Enter or send SIGUSR1 to pid %d to power it "
                    "on again\n",
                    static_cast<int>(getpid()));

    bool watchingTerminal = isatty(STDIN_FILENO) != 0;
    for (;;) {
        const timespec tick = {0, 100'000'000};
        const int s = sigtimedwait(&signals, nullptr, &tick);
        if (s == SIGINT || s == SIGTERM || s == SIGHUP)
            break;
        if (s == SIGUSR1 || PowerButtonPressed(watchingTerminal)) {
            sim.PowerCycle();
            std::printf(window ? "tq5520-sim: powered on again; connect within 5 s\n"
                               : "tq5520-sim: powered on again\n");
        }
        for (const SimEvent &event : sim.TakeLog())
            Print(event);
    }
    sim.Stop();
    for (const SimEvent &event : sim.TakeLog())
        Print(event);
    std::printf("tq5520-sim: stopped, COM%d removed\n", sim.PortNumber());
    return 0;
}
