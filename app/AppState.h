#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

struct FrameWorker; // one receive worker thread; defined with the framer

constexpr int RxBufferSize = 250;

// The one program-wide record. Fields the receive worker shares with the GUI
// thread are atomic or guarded by RxLock.
struct AppState
{
    int32_t LinkOpen = 0;                 // GUI thread only
    std::atomic<int32_t> ResponseReady{0};
    uint8_t *RxBuffer = nullptr;          // RxBufferSize bytes; guarded by RxLock
    uint8_t RxCount = 0;                  // guarded by RxLock
    uint8_t FrameLength = 0;              // worker only, under RxLock
    std::atomic<int32_t> IdleTicks{0};
    std::atomic<int32_t> IdleTickLimit{0};
    std::shared_ptr<FrameWorker> WatchThread; // the worker started last
    std::mutex RxLock;

    // Set once the window has begun to close: operations in progress end
    // early and the receive worker publishes nothing more.
    std::atomic<bool> Closing{false};
};

void AllocRxBuffer(AppState &state);
void FreeRxBuffer(AppState &state);
