#include "Delay.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

std::atomic<bool> delaysCutShort{false};

bool Done(Clock::time_point due)
{
    return delaysCutShort.load() || Clock::now() >= due;
}

int MillisecondsLeft(Clock::time_point due)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(due - Clock::now());
    return left.count() < 1 ? 1 : int(left.count());
}

// Without an event dispatcher there are no events to handle: just sleep, in
// short steps so that CutShortDelays is seen.
void SleepUntil(Clock::time_point due)
{
    while (!Done(due))
        std::this_thread::sleep_for(std::min<Clock::duration>(due - Clock::now(), std::chrono::milliseconds(5)));
}

}

// The dispatcher is driven directly instead of through a nested QEventLoop:
// QCoreApplication::exit() ends every running QEventLoop at once, and a wait
// must neither end early nor spin when the application is asked to quit. The
// quit itself stays in place for the main loop.
void Delay(int milliseconds)
{
    if (milliseconds <= 0 || delaysCutShort.load())
        return;
    const Clock::time_point due = Clock::now() + std::chrono::milliseconds(milliseconds);

    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    if (dispatcher == nullptr || QCoreApplication::instance() == nullptr) {
        SleepUntil(due);
        return;
    }

    // The timer only wakes the blocked wait; the clock decides when it ends.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    while (!Done(due)) {
        // The event loop sleeps in whole milliseconds and wakes up to one
        // late; the last two are waited out in short sleeps, still handling
        // events.
        if (due - Clock::now() < std::chrono::milliseconds(2)) {
            dispatcher->processEvents(QEventLoop::AllEvents);
            std::this_thread::sleep_for(std::min<Clock::duration>(due - Clock::now(), std::chrono::microseconds(200)));
            continue;
        }
        if (!wake.isActive())
            wake.start(MillisecondsLeft(due - std::chrono::milliseconds(2)));
        if (wake.timerId() > 0) {
            dispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        } else {
            // No timer to wake us: handle what is pending and poll gently.
            dispatcher->processEvents(QEventLoop::AllEvents);
            std::this_thread::sleep_for(std::min<Clock::duration>(due - Clock::now(), std::chrono::milliseconds(1)));
        }
    }
}

void CutShortDelays(bool on)
{
    delaysCutShort.store(on);
    // Wake a wait that is blocked, wherever this is called from.
    if (on && QCoreApplication::instance() != nullptr) {
        if (QAbstractEventDispatcher *dispatcher = QCoreApplication::eventDispatcher())
            dispatcher->wakeUp();
    }
}

void WaitMicroseconds(int microseconds)
{
    if (microseconds <= 0)
        return;
    const Clock::time_point due = Clock::now() + std::chrono::microseconds(microseconds);
    while (Clock::now() < due) {
    }
}
