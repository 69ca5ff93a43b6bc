#include "PtyClient.h"

#include <algorithm>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using Clock = std::chrono::steady_clock;

namespace {

std::vector<std::chrono::milliseconds> Gaps(const Received &r)
{
    std::vector<std::chrono::milliseconds> gaps;
    for (std::size_t i = 1; i < r.times.size(); ++i)
        gaps.push_back(std::chrono::duration_cast<std::chrono::milliseconds>(r.times[i] - r.times[i - 1]));
    return gaps;
}

} // namespace

std::chrono::milliseconds Received::LongestGap() const
{
    const auto gaps = Gaps(*this);
    return gaps.empty() ? 0ms : *std::max_element(gaps.begin(), gaps.end());
}

std::chrono::milliseconds Received::MedianGap() const
{
    auto gaps = Gaps(*this);
    if (gaps.empty())
        return 0ms;
    std::nth_element(gaps.begin(), gaps.begin() + gaps.size() / 2, gaps.end());
    return gaps[gaps.size() / 2];
}

std::chrono::milliseconds Received::Span() const
{
    return times.empty() ? 0ms : std::chrono::duration_cast<std::chrono::milliseconds>(times.back() - times.front());
}

int OpenRaw(const std::string &path)
{
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    termios settings{};
    tcgetattr(fd, &settings);
    cfmakeraw(&settings);
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    tcsetattr(fd, TCSANOW, &settings);
    tcflush(fd, TCIOFLUSH);
    return fd;
}

Received ReadReply(int fd, std::chrono::milliseconds silence, std::chrono::milliseconds firstByte)
{
    Received r;
    for (;;) {
        pollfd p = {fd, POLLIN, 0};
        const auto wait = r.bytes.empty() ? firstByte : silence;
        if (poll(&p, 1, static_cast<int>(wait.count())) <= 0)
            return r;
        char buffer[512];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) {
            r.hungUp = true;
            return r;
        }
        const auto now = Clock::now();
        r.bytes.append(buffer, static_cast<std::size_t>(n));
        r.times.insert(r.times.end(), static_cast<std::size_t>(n), now);
    }
}

Received Exchange(const std::string &path, const Text &command, std::chrono::milliseconds silence,
                  std::chrono::milliseconds firstByte)
{
    const int fd = OpenRaw(path);
    if (fd < 0)
        return {};
    // Blocking for the write only, so that the whole command goes out.
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    const bool sent = write(fd, command.data(), command.size()) == static_cast<ssize_t>(command.size());
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    Received r = sent ? ReadReply(fd, silence, firstByte) : Received{};
    close(fd);
    std::this_thread::sleep_for(30ms);
    return r;
}
