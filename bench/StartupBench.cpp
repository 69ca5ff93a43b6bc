// Start to a visible window under an X server, and resident memory after
// start: the tool beside a minimal Qt Widgets window.
//
// Usage: bench_startup RUNS TOOL MINIMAL
// A window counts as visible when the X server maps it.

#include "Bench.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

struct Start
{
    double ms = 0;
    double residentMb = 0;
};

// The value of _NET_WM_PID of a window, 0 when it has none.
uint32_t WindowPid(xcb_connection_t *x, xcb_window_t window)
{
    static const char name[] = "_NET_WM_PID";
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(x, xcb_intern_atom(x, 1, sizeof name - 1, name), nullptr), &std::free);
    if (!atom || atom->atom == XCB_ATOM_NONE)
        return 0;
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> property(
        xcb_get_property_reply(x, xcb_get_property(x, 0, window, atom->atom, XCB_ATOM_CARDINAL, 0, 1), nullptr),
        &std::free);
    if (!property || xcb_get_property_value_length(property.get()) != 4)
        return 0;
    return *static_cast<uint32_t *>(xcb_get_property_value(property.get()));
}

double ResidentMb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string word;
    while (status >> word) {
        if (word == "VmRSS:") {
            double kilobytes = 0;
            status >> kilobytes;
            return kilobytes * 1024.0 / 1e6;
        }
    }
    return 0;
}

// Runs the program until its window is mapped, reads its resident memory once
// it has settled, and ends it.
Start RunOnce(xcb_connection_t *x, const std::string &program)
{
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char *const args[] = {const_cast<char *>(program.c_str()), nullptr};

    const Clock::time_point begun = Clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &files, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&files);
    if (spawned != 0)
        Fail("could not start " + program);

    Start result;
    bool mapped = false;
    while (!mapped) {
        if (MsBetween(begun, Clock::now()) > 20000) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            Fail(program + " showed no window within 20 s");
        }
        pollfd fd = {xcb_get_file_descriptor(x), POLLIN, 0};
        poll(&fd, 1, 100);
        while (xcb_generic_event_t *event = xcb_poll_for_event(x)) {
            const Clock::time_point now = Clock::now();
            if ((event->response_type & 0x7F) == XCB_MAP_NOTIFY) {
                const auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
                if (!map->override_redirect && WindowPid(x, map->window) == uint32_t(pid) && !mapped) {
                    mapped = true;
                    result.ms = MsBetween(begun, now);
                }
            }
            std::free(event);
        }
        if (xcb_connection_has_error(x))
            Fail("lost the X server");
    }
    // Settled: the first paint done, fonts loaded.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    result.residentMb = ResidentMb(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4)
        Fail("usage: bench_startup RUNS TOOL MINIMAL");
    const int runs = std::atoi(argv[1]);
    const std::string tool = argv[2];
    const std::string minimal = argv[3];

    xcb_connection_t *x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x))
        Fail("no X server (DISPLAY)");
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);

    std::vector<double> toolMs, toolMb, minimalMs, minimalMb;
    for (int run = 0; run <= runs; ++run) { // run 0 warms up
        const Start t = RunOnce(x, tool);
        const Start m = RunOnce(x, minimal);
        if (run == 0)
            continue;
        toolMs.push_back(t.ms);
        toolMb.push_back(t.residentMb);
        minimalMs.push_back(m.ms);
        minimalMb.push_back(m.residentMb);
    }
    xcb_disconnect(x);

    const double ms = Median(toolMs);
    const double floorMs = Median(minimalMs);
    PrintRow("Start to a visible (mapped) window under Xvfb (median of " + std::to_string(runs) + ")",
             Fixed(ms) + " ms", Fixed(floorMs) + " ms: minimal Qt 6 Widgets window",
             Fixed(ms - floorMs) + " ms (" + Fixed(ms / floorMs, 2) + " × the floor)", "≤ 1.5 × the floor",
             YesNo(ms <= 1.5 * floorMs));
    const double mb = Median(toolMb);
    const double floorMb = Median(minimalMb);
    PrintRow("Resident memory 0.5 s after the window shows (median of " + std::to_string(runs) + ")",
             Fixed(mb) + " MB", Fixed(floorMb) + " MB: minimal Qt 6 Widgets window", Fixed(mb - floorMb) + " MB",
             "< 45 MB", YesNo(mb < 45));
    return 0;
}
