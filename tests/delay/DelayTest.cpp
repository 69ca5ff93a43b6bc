#include "Delay.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double ThreadCpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

class DelayTest : public ::testing::Test
{
protected:
    void TearDown() override { CutShortDelays(false); }
};

TEST_F(DelayTest, LastsAtLeastItsTime)
{
    for (int amount : {20, 200}) {
        const Clock::time_point start = Clock::now();
        Delay(amount);
        const double took = MillisecondsSince(start);
        EXPECT_GE(took, amount) << amount;
        EXPECT_LT(took, amount + 2000) << amount;
    }
}

TEST_F(DelayTest, ZeroOrLessReturnsAtOnce)
{
    bool handled = false;
    QTimer::singleShot(0, [&] { handled = true; });
    for (int amount : {0, -1, -100000}) {
        const Clock::time_point start = Clock::now();
        Delay(amount);
        EXPECT_LT(MillisecondsSince(start), 100) << amount;
    }
    QCoreApplication::processEvents();
    EXPECT_TRUE(handled);
}

TEST_F(DelayTest, HandlesEventsThatArriveDuringTheWait)
{
    bool timerFired = false;
    bool postedFromThread = false;
    QTimer::singleShot(30, [&] { timerFired = true; });
    std::thread other([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        QMetaObject::invokeMethod(QCoreApplication::instance(), [&] { postedFromThread = true; }, Qt::QueuedConnection);
    });
    Delay(300);
    other.join();
    EXPECT_TRUE(timerFired);
    EXPECT_TRUE(postedFromThread);
}

TEST_F(DelayTest, NestsAndOuterWaitCoversInnerHandler)
{
    bool innerDone = false;
    QTimer::singleShot(20, [&] {
        Delay(150);
        innerDone = true;
    });
    const Clock::time_point start = Clock::now();
    Delay(50);
    EXPECT_TRUE(innerDone);
    EXPECT_GE(MillisecondsSince(start), 150);
}

// A plain nested event loop would end at once when the application is asked to
// quit; the wait must last its time without spinning, and the quit must still
// end the application's loop afterwards.
TEST_F(DelayTest, QuitDuringTheWaitNeitherEndsItNorSpins)
{
    for (bool useExit : {true, false}) {
        double took = 0;
        double cpu = 0;
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(30, [useExit] {
                if (useExit)
                    QCoreApplication::exit(0);
                else
                    QCoreApplication::quit();
            });
            const Clock::time_point start = Clock::now();
            const double cpuStart = ThreadCpuMilliseconds();
            Delay(300);
            took = MillisecondsSince(start);
            cpu = ThreadCpuMilliseconds() - cpuStart;
        });
        const Clock::time_point loopStart = Clock::now();
        QCoreApplication::exec();
        EXPECT_GE(took, 300) << useExit;
        EXPECT_LT(cpu, 150) << useExit;
        EXPECT_LT(MillisecondsSince(loopStart), 5000) << useExit;
    }
}

TEST_F(DelayTest, CutShortEndsRunningNestedAndLaterDelays)
{
    bool innerEnded = false;
    QTimer::singleShot(10, [&] {
        QTimer::singleShot(20, [] { CutShortDelays(true); });
        Delay(10000);
        innerEnded = true;
    });
    const Clock::time_point start = Clock::now();
    Delay(10000);
    EXPECT_TRUE(innerEnded);
    Delay(10000);
    EXPECT_LT(MillisecondsSince(start), 3000);

    CutShortDelays(false);
    const Clock::time_point again = Clock::now();
    Delay(50);
    EXPECT_GE(MillisecondsSince(again), 50);
}

TEST_F(DelayTest, CutShortFromAnotherThreadWakesTheWait)
{
    std::thread other([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        CutShortDelays(true);
    });
    const Clock::time_point start = Clock::now();
    Delay(10000);
    other.join();
    EXPECT_LT(MillisecondsSince(start), 3000);
}

// A thread without an event dispatcher has nothing to handle: the wait still
// ends on time.
TEST_F(DelayTest, EndsOnAThreadWithoutEventDispatcher)
{
    double took = 0;
    std::thread other([&] {
        const Clock::time_point start = Clock::now();
        Delay(50);
        took = MillisecondsSince(start);
    });
    other.join();
    EXPECT_GE(took, 50);
    EXPECT_LT(took, 3000);
}

TEST(WaitMicrosecondsTest, BusyWaitsItsTimeAndReturnsAtOnceForZeroOrLess)
{
    Clock::time_point start = Clock::now();
    WaitMicroseconds(2000);
    EXPECT_GE(MillisecondsSince(start), 2.0);

    start = Clock::now();
    WaitMicroseconds(0);
    WaitMicroseconds(-5000);
    EXPECT_LT(MillisecondsSince(start), 1000);
}

}
