#include "AppState.h"
#include "Delay.h"
#include "Framer.h"
#include "MainWindow.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// A window and the state record as the program has them once the window is
// created, with every text that reaches ReceiveTextEdit recorded.
class FramerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AllocRxBuffer(state);
        state.IdleTickLimit = 20;
        QObject::connect(window.ReceiveTextEdit, &EditBox::contentChanged, [this] {
            published.push_back(window.ReceiveTextEdit->Content());
        });
    }

    void TearDown() override
    {
        StopWatchThread(state);
        FreeRxBuffer(state);
    }

    void Feed(const Text &bytes)
    {
        for (char byte : bytes)
            OnSerialByte(state, window, static_cast<unsigned char>(byte));
    }

    // Handles events until the frame being collected is out.
    void WaitForFrameEnd()
    {
        const Clock::time_point start = Clock::now();
        while ((state.ResponseReady == 0 || IsThreadRunning(state) == 1)
               && MillisecondsBetween(start, Clock::now()) < 5000)
            Delay(5);
        Delay(5);
    }

    AppState state;
    MainWindow window;
    std::vector<Text> published;
};

TEST_F(FramerTest, ReplyWithoutLongGapBecomesOneText)
{
    Text all;
    for (int i = 0; i < 250; ++i)
        all.push_back(static_cast<char>('A' + i % 26));
    for (const Text &reply : {Text("s"), Text("setting\r\n"), all}) {
        published.clear();
        Feed(reply);
        EXPECT_EQ(state.ResponseReady, 0);
        WaitForFrameEnd();
        EXPECT_EQ(published, std::vector<Text>{reply});
        EXPECT_EQ(state.ResponseReady, 1);
        EXPECT_EQ(IsThreadRunning(state), 0);
    }
}

TEST_F(FramerTest, BytesBeyondThe250thAreDroppedAndKeepTheFrameOpen)
{
    const Text first(250, 'x');
    Feed(first);
    // Extra bytes, 2 ms apart, for longer than the silence that ends a frame.
    for (int i = 0; i < 50; ++i) {
        Feed("y");
        WaitMicroseconds(2000);
    }
    EXPECT_TRUE(published.empty());
    EXPECT_EQ(state.ResponseReady, 0);
    WaitForFrameEnd();
    EXPECT_EQ(published, std::vector<Text>{first});
}

TEST_F(FramerTest, ZeroBytesAreLeftOutAndHighBytesPassUnchanged)
{
    struct Case {
        Text received;
        Text shown;
    };
    const Case cases[] = {
        {Text("\0\0\0", 3), ""},
        {Text("A\0B\0", 4), "AB"},
        {"\xB4\xAE\xBF\xDA\x80\xFF", "\xB4\xAE\xBF\xDA\x80\xFF"},
    };
    for (const Case &c : cases) {
        window.ReceiveTextEdit->SetContent("old");
        published.clear();
        Feed(c.received);
        WaitForFrameEnd();
        EXPECT_EQ(published, std::vector<Text>{c.shown});
        EXPECT_EQ(window.ReceiveTextEdit->Content(), c.shown);
        EXPECT_EQ(state.ResponseReady, 1);
    }
}

TEST_F(FramerTest, SilenceSplitsAReplyAndTheNextFrameStartsAtPositionOne)
{
    Feed("AB");
    Delay(120);
    EXPECT_EQ(published, std::vector<Text>{"AB"});
    EXPECT_EQ(state.ResponseReady, 1);

    Feed("C");
    EXPECT_EQ(state.ResponseReady, 0);
    {
        std::lock_guard<std::mutex> lock(state.RxLock);
        EXPECT_EQ(state.RxCount, 1);
        EXPECT_EQ(state.RxBuffer[0], 'C');
    }
    EXPECT_EQ(IsThreadRunning(state), 1);
    WaitForFrameEnd();
    EXPECT_EQ(published, (std::vector<Text>{"AB", "C"}));
    EXPECT_EQ(window.ReceiveTextEdit->Content(), "C");
}

// The GUI thread is busy while a frame ends: its reply waits for the GUI
// thread, and a byte handled meanwhile opens the next frame without being
// lost or mixed into the first.
TEST_F(FramerTest, ByteAfterTheCutWhileTheReplyWaitsStartsTheNextFrame)
{
    Feed("AB");
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    Feed("C");
    EXPECT_EQ(published, std::vector<Text>{"AB"});
    WaitForFrameEnd();
    EXPECT_EQ(published, (std::vector<Text>{"AB", "C"}));
}

TEST_F(FramerTest, StoppedWorkerPublishesNothing)
{
    for (bool replyAlreadyHandedOver : {false, true}) {
        published.clear();
        state.ResponseReady = 0;
        Feed("AB");
        if (replyAlreadyHandedOver)
            std::this_thread::sleep_for(std::chrono::milliseconds(120));
        StopWatchThread(state);
        EXPECT_EQ(IsThreadRunning(state), -1);
        Delay(100);
        EXPECT_TRUE(published.empty()) << replyAlreadyHandedOver;
        EXPECT_EQ(state.ResponseReady, 0) << replyAlreadyHandedOver;
    }
    // The framer works on afterwards.
    Feed("D");
    WaitForFrameEnd();
    EXPECT_EQ(published, std::vector<Text>{"D"});
}

TEST_F(FramerTest, NothingIsPublishedOnceTheWindowCloses)
{
    Feed("AB");
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    state.Closing = true;
    Delay(100);
    Feed("C");
    Delay(100);
    EXPECT_TRUE(published.empty());
    EXPECT_EQ(state.ResponseReady, 0);
}

// Bytes with random gaps, many of them close to the 40 ms that end a frame.
// Every byte comes out exactly once and in order; a frame never ends inside a
// gap shorter than 40 ms and always ends inside a long one.
TEST_F(FramerTest, RandomGapsAroundTheEdge)
{
    std::mt19937 random(5520);
    std::uniform_int_distribution<int> kind(0, 9);
    struct Sent {
        Clock::time_point before;
        Clock::time_point after;
    };
    std::vector<Sent> sent;
    Text expected;
    for (int i = 0; i < 100; ++i) {
        if (i > 0) {
            const int k = kind(random);
            const int gap = k < 4 ? std::uniform_int_distribution<int>(0, 20)(random)
                          : k < 7 ? std::uniform_int_distribution<int>(30, 50)(random)
                                  : std::uniform_int_distribution<int>(250, 270)(random);
            Delay(gap);
        }
        const char byte = static_cast<char>(1 + i % 255);
        Sent s;
        s.before = Clock::now();
        OnSerialByte(state, window, static_cast<unsigned char>(byte));
        s.after = Clock::now();
        sent.push_back(s);
        expected.push_back(byte);
    }
    WaitForFrameEnd();

    Text joined;
    std::vector<int> frameOf;
    for (size_t f = 0; f < published.size(); ++f) {
        joined += published[f];
        frameOf.insert(frameOf.end(), published[f].size(), int(f));
    }
    ASSERT_EQ(joined, expected);

    int splits = 0;
    for (size_t i = 1; i < sent.size(); ++i) {
        const double longest = MillisecondsBetween(sent[i - 1].before, sent[i].after);
        const double shortest = MillisecondsBetween(sent[i - 1].after, sent[i].before);
        const bool split = frameOf[i] != frameOf[i - 1];
        splits += split;
        if (longest < 40)
            EXPECT_FALSE(split) << "byte " << i << " after at most " << longest << " ms";
        if (shortest >= 240)
            EXPECT_TRUE(split) << "byte " << i << " after at least " << shortest << " ms";
    }
    EXPECT_EQ(splits + 1, int(published.size()));
}

} // namespace
