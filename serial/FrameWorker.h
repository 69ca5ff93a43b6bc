#pragma once

#include "Text.h"

#include <QObject>
#include <QPointer>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>

struct AppState;
struct FrameWorker;
class EditBox;

// Publishes, on the GUI thread, the reply its worker has cut: the text into
// ReceiveTextEdit, then ResponseReady. The worker only wakes it through Qt;
// the reply itself stays behind the worker's hand-off lock.
class FramePublisher : public QObject
{
    Q_OBJECT

public:
    FramePublisher(AppState &state, FrameWorker &worker, EditBox *receiveEdit);

public slots:
    void Publish();

private:
    AppState &m_state;
    FrameWorker &m_worker;
    QPointer<EditBox> m_receiveEdit;
};

// One receive worker: the thread that waits for the silence ending a reply,
// and the reply on its way to the GUI thread. Made and dropped on the GUI
// thread; the thread is joined before the worker goes.
struct FrameWorker
{
    FrameWorker(AppState &state, EditBox *receiveEdit);
    ~FrameWorker();

    std::thread Thread;
    std::atomic<bool> StopRequested{false};
    std::atomic<bool> Ended{false};
    bool Collecting = true;     // no snapshot taken yet; under RxLock
    // When the last byte of the frame was handled, in steady_clock ticks;
    // silence counts from here. Written under RxLock, read without it, so
    // that the worker takes the lock only to cut the frame.
    std::atomic<std::chrono::steady_clock::rep> LastByte{std::chrono::steady_clock::now().time_since_epoch().count()};

    std::mutex HandOffLock;
    Text Reply;                 // under HandOffLock
    bool ReplyWaiting = false;  // under HandOffLock

    FramePublisher Publisher;
};

// The worker's body: counts 2 ms ticks of silence, then cuts the frame and
// hands its text to the GUI thread. Ends early, publishing nothing, when asked
// to stop.
void FrameWatch(AppState &state, FrameWorker &self);

// On the GUI thread: writes the reply the worker handed over, if any and if
// the window is not closing.
void PublishReply(AppState &state, FrameWorker &worker, EditBox *receiveEdit);
