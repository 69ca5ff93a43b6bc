#pragma once

#include "DeviceModel.h"
#include "Text.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Something the simulated device saw or did.
struct SimEvent
{
    enum class Kind
    {
        Opened, // somebody opened the port (seen from the pty master)
        Closed, // everybody has closed the port again (a reopen within a few
                // milliseconds may go unseen)
        Line,   // a received line, bytes up to and including its LF
        Reply,  // the bytes of a reply, logged once they are sent
        HungUp, // the device hung up; text is the new slave path
    };
    Kind kind;
    std::chrono::steady_clock::time_point time;
    Text text; // Line, Reply and HungUp only
};

// A TQ-5520 on a pseudo-terminal, for running the tool without the hardware.
//
// Start() opens a pty and links its slave as comN in PortFolder(); the tool
// opens it like any port. A thread of its own answers every line that ends
// in LF, paced at the 9600-baud byte time after a turn-around of 3 ms:
//   "+++@@@AAA=setting\r\n" -> "setting ok\r\n" (see the connect window)
//   "+++@@@AAA=Ver\r\n"     -> "TQ-5520 V1.00 (simulator)\r\n"
//   "+++@@@AAA=?\r\n"       -> "+++@@@AAA=" + Config() + "\r\n"
//   "+++@@@AAA=" + ten comma-separated fields + "\r\n"
//                           -> stores the fields, answers like "?"
//   "+++@@@AAA=working\r\n" -> "working ok\r\n"
//   any other line          -> "echo: " + the line without its end + "\r\n"
//
// The connect window (on by default): the setting command is answered only
// within 5 s of Start() or PowerCycle(), or while the device is still in
// setting mode (until "working"); later it meets silence.
//
// Start() and Stop() belong to the owner; the other members may be called
// from any thread. Start() returns once the link is in place and the device
// listens, so a test can open the port at once.
//
//     Simulator sim;
//     sim.SetConnectWindow(false);
//     ASSERT_TRUE(sim.Start()) << sim.Error();
//     ... open "COM" + sim.PortNumber(), or sim.SlavePath() ...
//     sim.WaitForLog([](const auto &log) { return !log.empty() && ...; }, 5s);
//     sim.Stop(); // also done by the destructor
class Simulator
{
public:
    Simulator() = default;
    ~Simulator();
    Simulator(const Simulator &) = delete;
    Simulator &operator=(const Simulator &) = delete;

    // Opens the pty, links it as comN (0: the lowest free N from 1), starts
    // the thread and powers the device on. False with Error() on failure.
    bool Start(int portNumber = 0);
    // Ends the thread, closes the pty and removes the link. Cuts a reply short.
    void Stop();
    bool IsRunning() const;
    std::string Error() const;

    int PortNumber() const;
    std::string SlavePath() const; // changes after a hang-up
    std::string LinkPath() const;
    // Removes the link now, as if the port vanished; the pty stays open.
    void RemoveLink();

    void SetConnectWindow(bool on, std::chrono::milliseconds length = std::chrono::seconds(5));
    // Power-on again: the connect window restarts and setting mode ends.
    void PowerCycle();

    // The ten stored fields, comma-separated, as the configuration reply
    // carries them after the prefix.
    void SetConfig(const Text &record);
    Text Config() const;

    // From now on; onlyFor, when given, limits it to the reply to that line
    // (for example "+++@@@AAA=Ver\r\n").
    void SetMisbehaviour(Misbehaviour m, const Text &onlyFor = {});

    std::vector<SimEvent> Log() const;
    std::vector<Text> Lines() const; // the texts of the Line events
    std::vector<SimEvent> TakeLog(); // returns the log and empties it
    void ClearLog();
    // Waits until done(log) holds, at most timeout; done runs under the
    // log's lock and must not call the simulator.
    bool WaitForLog(const std::function<bool(const std::vector<SimEvent> &)> &done,
                    std::chrono::milliseconds timeout) const;

private:
    void Run();
    void Pump(bool hungUpMeanwhile = false);
    void TakeBytes(const char *bytes, std::size_t count);
    void Send(const Reply &reply);
    void HangUp();
    bool SleepUntil(std::chrono::steady_clock::time_point when);
    void Record(SimEvent::Kind kind, const Text &text = {});
    void RemoveLinkLocked();

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_; // the log grew, or stop
    DeviceState device_;
    std::vector<SimEvent> log_;
    std::string error_;
    std::string slavePath_;
    std::string linkPath_;
    int portNumber_ = 0;
    bool linked_ = false;
    bool running_ = false;

    // Used by the device's thread only, between Start() and Stop().
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    int master_ = -1;
    int wake_[2] = {-1, -1};
    bool peerOpen_ = false;
    Text pending_;
    std::deque<std::pair<Text, std::chrono::steady_clock::time_point>> lines_;
};
