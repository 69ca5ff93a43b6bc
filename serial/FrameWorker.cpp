#include "FrameWorker.h"

#include "AppState.h"
#include "Controls.h"
#include "Delay.h"

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
    state.IdleTicks = 0;
    Text reply;
    for (;;) {
        if (self.StopRequested) {
            self.Ended = true;
            return;
        }
        uint32_t seen = 0;
        {
            std::lock_guard<std::mutex> lock(state.RxLock);
            if (state.IdleTicks >= state.IdleTickLimit) {
                // The snapshot: the bytes stored so far, read before any later
                // byte can take their places.
                state.FrameLength = state.RxCount;
                state.RxCount = 0;
                self.Collecting = false;
                for (int i = 0; i < state.FrameLength; ++i) {
                    if (state.RxBuffer[i] != 0)
                        reply.push_back(static_cast<char>(state.RxBuffer[i]));
                }
                break;
            }
            seen = self.BytesSeen;
        }
        WaitMicroseconds(2000);
        {
            // A byte handled during the tick restarted the count; the part of
            // the tick before it is not silence after it.
            std::lock_guard<std::mutex> lock(state.RxLock);
            if (self.BytesSeen == seen)
                ++state.IdleTicks;
        }
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
