#include "Simulator.h"

#include "PortLink.h"
#include "Pty.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

using Clock = std::chrono::steady_clock;

namespace {

// The device answers a few milliseconds after the end of a command.
constexpr auto TurnAround = std::chrono::milliseconds(3);
// While nobody has the port open the master reports a hang-up at once on
// every poll, so it is looked at again after this pause instead.
constexpr auto ClosedPoll = std::chrono::milliseconds(5);
// A line longer than this without LF is taken as it is.
constexpr std::size_t LongestLine = 256;

} // namespace

Simulator::~Simulator()
{
    Stop();
}

bool Simulator::Start(int portNumber)
{
    std::lock_guard lock(mutex_);
    if (running_) {
        error_ = "already running";
        return false;
    }
    std::string slave;
    const int master = OpenRawPty(slave, error_);
    if (master < 0)
        return false;
    const int number = LinkPort(slave, portNumber, error_);
    if (number == 0 || pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) {
        if (number != 0) {
            error_ = std::string("pipe: ") + std::strerror(errno);
            RemoveLinkTo(PortLinkPath(number), slave);
        }
        close(master);
        return false;
    }
    master_ = master;
    slavePath_ = slave;
    portNumber_ = number;
    linkPath_ = PortLinkPath(number);
    linked_ = true;
    running_ = true;
    error_.clear();
    device_.poweredOn = Clock::now();
    device_.settingMode = false;
    stopping_ = false;
    peerOpen_ = false;
    pending_.clear();
    lines_.clear();
    thread_ = std::thread(&Simulator::Run, this);
    return true;
}

void Simulator::Stop()
{
    {
        std::lock_guard lock(mutex_);
        if (!running_)
            return;
        stopping_ = true;
    }
    changed_.notify_all();
    const char wake = 1;
    [[maybe_unused]] const ssize_t written = write(wake_[1], &wake, 1);
    thread_.join();

    std::lock_guard lock(mutex_);
    if (master_ >= 0)
        close(master_);
    master_ = -1;
    close(wake_[0]);
    close(wake_[1]);
    wake_[0] = wake_[1] = -1;
    RemoveLinkLocked();
    running_ = false;
}

bool Simulator::IsRunning() const
{
    std::lock_guard lock(mutex_);
    return running_;
}

std::string Simulator::Error() const
{
    std::lock_guard lock(mutex_);
    return error_;
}

int Simulator::PortNumber() const
{
    std::lock_guard lock(mutex_);
    return portNumber_;
}

std::string Simulator::SlavePath() const
{
    std::lock_guard lock(mutex_);
    return slavePath_;
}

std::string Simulator::LinkPath() const
{
    std::lock_guard lock(mutex_);
    return linkPath_;
}

void Simulator::RemoveLink()
{
    std::lock_guard lock(mutex_);
    RemoveLinkLocked();
}

void Simulator::RemoveLinkLocked()
{
    if (linked_)
        RemoveLinkTo(linkPath_, slavePath_);
    linked_ = false;
}

void Simulator::SetConnectWindow(bool on, std::chrono::milliseconds length)
{
    std::lock_guard lock(mutex_);
    device_.connectWindow = on;
    device_.windowLength = length;
}

void Simulator::PowerCycle()
{
    std::lock_guard lock(mutex_);
    device_.poweredOn = Clock::now();
    device_.settingMode = false;
}

void Simulator::SetConfig(const Text &record)
{
    std::lock_guard lock(mutex_);
    device_.config = record;
}

Text Simulator::Config() const
{
    std::lock_guard lock(mutex_);
    return device_.config;
}

void Simulator::SetMisbehaviour(Misbehaviour m, const Text &onlyFor)
{
    std::lock_guard lock(mutex_);
    device_.misbehaviour = m;
    device_.misbehaviourOnlyFor = onlyFor;
}

std::vector<SimEvent> Simulator::Log() const
{
    std::lock_guard lock(mutex_);
    return log_;
}

std::vector<Text> Simulator::Lines() const
{
    std::lock_guard lock(mutex_);
    std::vector<Text> lines;
    for (const SimEvent &event : log_)
        if (event.kind == SimEvent::Kind::Line)
            lines.push_back(event.text);
    return lines;
}

std::vector<SimEvent> Simulator::TakeLog()
{
    std::lock_guard lock(mutex_);
    std::vector<SimEvent> taken;
    taken.swap(log_);
    return taken;
}

void Simulator::ClearLog()
{
    std::lock_guard lock(mutex_);
    log_.clear();
}

bool Simulator::WaitForLog(const std::function<bool(const std::vector<SimEvent> &)> &done,
                           std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return done(log_); });
}

void Simulator::Record(SimEvent::Kind kind, const Text &text)
{
    {
        std::lock_guard lock(mutex_);
        log_.push_back({kind, Clock::now(), text});
    }
    changed_.notify_all();
}

bool Simulator::SleepUntil(Clock::time_point when)
{
    std::unique_lock lock(mutex_);
    return !changed_.wait_until(lock, when, [&] { return stopping_.load(); });
}

void Simulator::Run()
{
    while (!stopping_ && master_ >= 0) {
        bool hungUp = false;
        if (peerOpen_) {
            pollfd fds[2] = {{master_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
            poll(fds, 2, -1);
            hungUp = (fds[0].revents & (POLLHUP | POLLERR)) != 0;
        } else if (!SleepUntil(Clock::now() + ClosedPoll)) {
            break;
        }
        Pump(hungUp);
        while (!lines_.empty() && !stopping_ && master_ >= 0) {
            const auto [line, arrived] = lines_.front();
            lines_.pop_front();
            Reply reply;
            {
                std::lock_guard lock(mutex_);
                reply = AnswerLine(device_, line, arrived);
            }
            Send(reply);
        }
    }
}

// Reads what has arrived and notes whether the port is open on the other side.
// hungUpMeanwhile tells of a close that a quick reopen may already hide.
void Simulator::Pump(bool hungUpMeanwhile)
{
    char buffer[256];
    for (;;) {
        const ssize_t n = read(master_, buffer, sizeof buffer);
        if (n <= 0)
            break; // EAGAIN, or EIO once nobody has the port open
        if (!peerOpen_) {
            peerOpen_ = true;
            Record(SimEvent::Kind::Opened);
        }
        TakeBytes(buffer, static_cast<std::size_t>(n));
    }
    pollfd fd = {master_, 0, 0};
    poll(&fd, 1, 0);
    const bool hungUp = (fd.revents & (POLLHUP | POLLERR)) != 0;
    if ((hungUp || hungUpMeanwhile) && peerOpen_) {
        peerOpen_ = false;
        Record(SimEvent::Kind::Closed);
    }
    if (!hungUp && !peerOpen_) {
        peerOpen_ = true;
        Record(SimEvent::Kind::Opened);
    }
}

void Simulator::TakeBytes(const char *bytes, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        pending_ += bytes[i];
        if (bytes[i] == '\n' || pending_.size() >= LongestLine) {
            Record(SimEvent::Kind::Line, pending_);
            lines_.emplace_back(pending_, Clock::now());
            pending_.clear();
        }
    }
}

void Simulator::Send(const Reply &reply)
{
    const Text &bytes = reply.bytes;
    Clock::time_point when = Clock::now() + TurnAround;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i == reply.hangUpBefore) {
            Record(SimEvent::Kind::Reply, bytes.substr(0, i));
            HangUp();
            return;
        }
        if (i == reply.pauseBefore)
            when += reply.pause;
        if (!SleepUntil(when))
            return;
        Pump();
        // A byte the port cannot take now is lost, as on a line nobody reads.
        [[maybe_unused]] const ssize_t written = write(master_, &bytes[i], 1);
        when += reply.byteGap;
    }
    if (!bytes.empty())
        Record(SimEvent::Kind::Reply, bytes);
    if (reply.removeLinkAfter)
        RemoveLink();
}

// Closing the master hangs up whoever has the port open. The device then
// comes back on a new pty under the same name, like an adapter plugged in
// again.
void Simulator::HangUp()
{
    close(master_);
    master_ = -1;
    peerOpen_ = false;
    pending_.clear();
    lines_.clear();

    std::string slave;
    std::string error;
    const int master = OpenRawPty(slave, error);
    {
        std::lock_guard lock(mutex_);
        if (master < 0) {
            error_ = error;
        } else {
            master_ = master;
            const std::string old = slavePath_;
            slavePath_ = slave;
            if (linked_ && !RetargetLink(linkPath_, slave)) {
                RemoveLinkTo(linkPath_, old);
                linked_ = false;
            }
        }
    }
    Record(SimEvent::Kind::HungUp, slave);
}
