#include "TestPty.h"

#include "PortDiscovery.h"

#include <chrono>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

TestPty::TestPty(int portNumber)
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        HangUp();
        return;
    }
    const std::string slave = ptsname(m_master);
    // Held open so that the line stays up between the tool's opens.
    m_slave = open(slave.c_str(), O_RDWR | O_NOCTTY);
    // Raw from the start: no echo, no line editing of what is written early.
    termios raw{};
    if (m_slave >= 0 && tcgetattr(m_slave, &raw) == 0) {
        cfmakeraw(&raw);
        tcsetattr(m_slave, TCSANOW, &raw);
    }
    const std::string link = PortFolder() + "/com" + std::to_string(portNumber);
    unlink(link.c_str());
    if (symlink(slave.c_str(), link.c_str()) != 0)
        HangUp();
}

TestPty::~TestPty()
{
    HangUp();
    if (m_slave >= 0)
        close(m_slave);
}

void TestPty::Write(const Text &bytes)
{
    size_t done = 0;
    while (m_master >= 0 && done < bytes.size()) {
        const ssize_t n = write(m_master, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            return;
        done += size_t(n);
    }
}

Text TestPty::Read(size_t count, int milliseconds)
{
    Text got;
    const auto due = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (m_master >= 0 && got.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(due - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd p{m_master, POLLIN, 0};
        if (poll(&p, 1, int(left.count())) <= 0 || !(p.revents & POLLIN))
            break;
        char buffer[256];
        const ssize_t n = read(m_master, buffer, std::min(sizeof buffer, count - got.size()));
        if (n <= 0)
            break;
        got.append(buffer, size_t(n));
    }
    return got;
}

void TestPty::HangUp()
{
    if (m_master >= 0)
        close(m_master);
    m_master = -1;
}
