#include "Framer.h"

#include "AppState.h"
#include "FrameWorker.h"
#include "MainWindow.h"

#include <system_error>

namespace {

// A new worker, running at once; none when the thread cannot be made.
std::shared_ptr<FrameWorker> StartThread(AppState &state, MainWindow &window)
{
    auto worker = std::make_shared<FrameWorker>(state, window.ReceiveTextEdit);
    try {
        worker->Thread = std::thread(FrameWatch, std::ref(state), std::ref(*worker));
    } catch (const std::system_error &) {
        return nullptr;
    }
    return worker;
}

} // namespace

void OnSerialByte(AppState &state, MainWindow &window, int value)
{
    // Once the window closes no byte is taken in any more.
    if (state.Closing)
        return;
    state.ResponseReady = 0;

    const std::shared_ptr<FrameWorker> worker = state.WatchThread;
    bool collecting = false;
    {
        std::lock_guard<std::mutex> lock(state.RxLock);
        state.IdleTicks = 0;
        collecting = worker && worker->Collecting && !worker->Ended;
        if (collecting)
            worker->LastByte = std::chrono::steady_clock::now().time_since_epoch().count();
        // Beyond the 250th byte nothing is stored, but the frame stays open.
        if (state.RxCount < RxBufferSize) {
            state.RxBuffer[state.RxCount] = static_cast<uint8_t>(value & 0xFF);
            ++state.RxCount;
        }
    }
    if (collecting)
        return;

    // This byte opens the next frame. The last worker has cut its frame (or
    // was stopped) and does nothing but hand its reply over, so it ends at
    // once; its reply goes out before the new worker starts.
    if (worker) {
        if (worker->Thread.joinable())
            worker->Thread.join();
        PublishReply(state, *worker, window.ReceiveTextEdit);
        // A handler of that publication may have taken in more bytes and
        // started their worker already; it collects this byte too.
        if (state.WatchThread != worker)
            return;
    }
    // Should the thread not start, the byte stays stored and the next byte
    // tries again.
    state.WatchThread = StartThread(state, window);
}

int IsThreadRunning(const AppState &state)
{
    if (!state.WatchThread)
        return -1;
    return state.WatchThread->Ended ? 0 : 1;
}

void StopWatchThread(AppState &state)
{
    const std::shared_ptr<FrameWorker> worker = state.WatchThread;
    if (!worker)
        return;
    worker->StopRequested = true;
    if (worker->Thread.joinable())
        worker->Thread.join();
    {
        // A reply already handed over is not published either.
        std::lock_guard<std::mutex> lock(worker->HandOffLock);
        worker->ReplyWaiting = false;
        worker->Reply.clear();
    }
    {
        // A frame cut off in the middle is dropped.
        std::lock_guard<std::mutex> lock(state.RxLock);
        state.RxCount = 0;
    }
    // The ended worker goes here, on the GUI thread, with its publisher.
    state.WatchThread.reset();
}
