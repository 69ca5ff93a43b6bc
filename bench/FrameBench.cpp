// Publication of a reply: from the write of its last byte into a pty master
// until the GUI thread sees it in ReceiveTextEdit with ResponseReady at 1.

#include "Bench.h"
#include "BenchWindow.h"
#include "PortLink.h"
#include "Pty.h"
#include "SerialPortUnit.h"

#include <QApplication>

#include <random>
#include <thread>

#include <unistd.h>

namespace {

const Text ShortReply = "setting ok\r\n";

// Writes the reply a byte time apart. Before the last byte it waits a further
// part of a 2 ms tick, so that the last byte falls anywhere within the
// receive worker's tick, as the bytes of a real device do.
void WriteReply(int master, std::chrono::microseconds extra, Clock::time_point &lastByte)
{
    const auto byteTime = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double, std::milli>(ByteMs));
    Clock::time_point when = Clock::now();
    for (std::size_t i = 0; i < ShortReply.size(); ++i) {
        const bool last = i + 1 == ShortReply.size();
        if (last)
            when += extra;
        std::this_thread::sleep_until(when);
        if (last)
            lastByte = Clock::now();
        if (write(master, &ShortReply[i], 1) != 1)
            return;
        when += byteTime;
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;

    std::string slave;
    std::string error;
    const int master = OpenRawPty(slave, error);
    if (master < 0)
        Fail("pty: " + error);
    const int number = LinkPort(slave, 0, error);
    if (number == 0)
        Fail("port link: " + error);

    std::vector<double> delays;
    int spoiled = 0;
    {
        BenchWindow bench;
        if (bench.window.SerialPort->PortNumber() != number || !bench.window.SerialPort->Open())
            Fail("the tool could not open the pty");

        std::mt19937 random(5520);
        std::uniform_int_distribution<int> phase(0, 1999);
        std::uniform_int_distribution<int> pause(5, 15);
        for (int frame = 0; delays.size() < std::size_t(frames); ++frame) { // frame 0 warms up
            // As an exchange does before it sends.
            bench.state.ResponseReady = 0;
            bench.window.ReceiveTextEdit->SetContent({});
            Clock::time_point lastByte;
            std::thread writer(WriteReply, master, std::chrono::microseconds(phase(random)), std::ref(lastByte));
            const bool seen = HandleEventsUntil(
                [&] { return bench.state.ResponseReady == 1 && bench.window.ReceiveTextEdit->Content() == ShortReply; },
                std::chrono::seconds(1));
            const Clock::time_point seenAt = Clock::now();
            writer.join();
            // A reply cut in two (the GUI thread held up for 40 ms on a busy
            // machine) is counted and left out.
            if (!seen && ++spoiled > frames)
                Fail("replies were not published");
            if (seen && frame > 0)
                delays.push_back(MsBetween(lastByte, seenAt));
            HandleEventsUntil([] { return false; }, std::chrono::milliseconds(pause(random)));
        }
    }
    RemoveLinkTo(PortLinkPath(number), slave);
    close(master);

    const double median = Median(delays);
    const double p99 = Percentile(delays, 99);
    PrintRow("Frame publication after the last byte of a reply (" + std::to_string(frames) + " frames" +
                 (spoiled ? "; " + std::to_string(spoiled) + " cut in two, left out" : std::string()) + ")",
             "median " + Fixed(median, 2) + " ms, p99 " + Fixed(p99, 2) + " ms", "40 ms of silence",
             "median " + Fixed(median - SilenceMs, 2) + " ms, p99 " + Fixed(p99 - SilenceMs, 2) + " ms",
             "median 40–41 ms, p99 < 43 ms", YesNo(median >= 40 && median <= 41 && p99 < 43));
    return 0;
}
