#include "Pty.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

int Fail(int master, std::string &error, const char *what)
{
    error = std::string(what) + ": " + std::strerror(errno);
    if (master >= 0)
        close(master);
    return -1;
}

} // namespace

int OpenRawPty(std::string &slavePath, std::string &error)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0)
        return Fail(master, error, "posix_openpt");
    char name[128];
    if (grantpt(master) != 0 || unlockpt(master) != 0 || ptsname_r(master, name, sizeof name) != 0)
        return Fail(master, error, "pty slave");

    const int slave = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0)
        return Fail(master, error, name);
    termios settings{};
    tcgetattr(slave, &settings);
    cfmakeraw(&settings);
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    const bool raw = tcsetattr(slave, TCSANOW, &settings) == 0;
    close(slave);
    if (!raw)
        return Fail(master, error, "tcsetattr");

    const int flags = fcntl(master, F_GETFL);
    if (flags < 0 || fcntl(master, F_SETFL, flags | O_NONBLOCK) != 0)
        return Fail(master, error, "fcntl");
    slavePath = name;
    return master;
}
