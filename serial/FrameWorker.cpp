#include "FrameWorker.h"

#include "AppState.h"
#include "Controls.h"
#include "Delay.h"
#include "ThreadPriority.h"

FramePublisher::FramePublisher(AppState &state, FrameWorker &worker, EditBox *receiveEdit)
    : m_state(state), m_worker(worker), m_receiveEdit(receiveEdit)
{
}

void FramePublisher::Publish()
{
    PublishReply(m_state, m_worker, m_receiveEdit.data());
}

FrameWorker::FrameWorker(AppState &state, EditBox *receiveEdit)
    : Publisher(state, *this, receiveEdit)
{
}

FrameWorker::~FrameWorker()
{
    StopRequested = true;
    if (Thread.joinable())
        Thread.join();
}

void FrameWatch(AppState &state, FrameWorker &self)
{
    using Clock = std::chrono::steady_clock;
    constexpr std::chrono::microseconds Tick(2000);

    // The busy wait must not take the processor from the GUI thread, which
    // hands over the bytes whose silence it measures.
    LowerCurrentThreadPriority();
    state.IdleTicks = 0;
    Text reply;
    for (;;) {
        if (self.StopRequested) {
            self.Ended = true;
            return;
        }
        // Ticks are counted from the moment the last byte was handled, so a
        // frame ends 40 ms after it, however late this thread runs. The lock
        // is not taken for this: a worker that lost the processor while
        // holding it would hold up the GUI thread's next byte.
        const Clock::time_point lastByte{Clock::duration(self.LastByte.load())};
        state.IdleTicks = int32_t((Clock::now() - lastByte) / Tick);
        if (state.IdleTicks >= state.IdleTickLimit) {
            std::lock_guard<std::mutex> lock(state.RxLock);
            // A byte handled just now keeps the frame open.
            if (self.LastByte.load() == lastByte.time_since_epoch().count()) {
                // The snapshot: the bytes stored so far, read before any
                // later byte can take their places.
                state.FrameLength = state.RxCount;
                state.RxCount = 0;
                self.Collecting = false;
                for (int i = 0; i < state.FrameLength; ++i) {
                    if (state.RxBuffer[i] != 0)
                        reply.push_back(static_cast<char>(state.RxBuffer[i]));
                }
                break;
            }
            continue;
        }
        const Clock::time_point nextTick = lastByte + (state.IdleTicks + 1) * Tick;
        WaitMicroseconds(int(std::chrono::duration_cast<std::chrono::microseconds>(nextTick - Clock::now()).count()));
    }

    {
        // Only a wake-up goes through Qt. It is posted under the lock that the
        // GUI thread takes before it reads the reply.
        std::lock_guard<std::mutex> lock(self.HandOffLock);
        self.Reply = std::move(reply);
        self.ReplyWaiting = true;
        QMetaObject::invokeMethod(&self.Publisher, "Publish", Qt::QueuedConnection);
    }
    self.Ended = true;
}

void PublishReply(AppState &state, FrameWorker &worker, EditBox *receiveEdit)
{
    Text reply;
    {
        std::lock_guard<std::mutex> lock(worker.HandOffLock);
        if (!worker.ReplyWaiting)
            return;
        worker.ReplyWaiting = false;
        reply = std::move(worker.Reply);
    }
    if (state.Closing)
        return;
    // The text is in place before the flag says so.
    if (receiveEdit != nullptr)
        receiveEdit->SetContent(reply);
    state.ResponseReady = 1;
}
