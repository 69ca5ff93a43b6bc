#include "Startup.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool IsSet(const char *name)
{
    const char *value = std::getenv(name);
    return value && *value;
}

// Qt aborts with a long message when it finds no display; say it plainly.
bool DisplayMissing(int argc, char **argv)
{
#if defined(__linux__)
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return false;
    }
    return !IsSet("DISPLAY") && !IsSet("WAYLAND_DISPLAY") && !IsSet("QT_QPA_PLATFORM");
#else
    (void)argc;
    (void)argv;
    return false;
#endif
}

} // namespace

int main(int argc, char **argv)
{
    if (DisplayMissing(argc, argv)) {
        std::fprintf(stderr,
                     "tq5520: there is no display to show the window on (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                     "Run it from a desktop session, or on a virtual display: xvfb-run %s\n",
                     argv[0]);
        return 1;
    }
    return ProgramStart(argc, argv);
}
