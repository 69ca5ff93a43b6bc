// Processor time of the tool: idle while connected, and during a 250-byte
// frame. The simulator runs as a program of its own so that its time does not
// count here.

#include "Bench.h"
#include "BenchWindow.h"
#include "SerialPortUnit.h"

#include <QApplication>
#include <QProcess>

#include <ctime>

namespace {

double CpuMs(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

// Starts tq5520-sim and waits until it serves its port.
void StartSimulator(QProcess &sim, const QString &program)
{
    sim.setProcessChannelMode(QProcess::MergedChannels);
    sim.setStandardInputFile(QProcess::nullDevice());
    sim.start(program, {"--no-window"});
    if (!sim.waitForStarted(5000))
        Fail("could not start " + program.toStdString());
    QByteArray said;
    while (!said.contains("serving COM")) {
        if (!sim.waitForReadyRead(5000))
            Fail("the simulator did not start: " + said.toStdString());
        said += sim.readAll();
    }
}

void MeasureIdle(BenchWindow &bench, int seconds)
{
    const double cpu0 = CpuMs(CLOCK_PROCESS_CPUTIME_ID);
    const Clock::time_point start = Clock::now();
    HandleEventsUntil([] { return false; }, std::chrono::seconds(seconds));
    const double cpu = CpuMs(CLOCK_PROCESS_CPUTIME_ID) - cpu0;
    const double share = 100.0 * cpu / MsBetween(start, Clock::now());
    if (bench.state.LinkOpen != 1)
        Fail("the tool did not stay connected");
    PrintRow("CPU while idle, window open and connected (" + std::to_string(seconds) + " s)",
             Fixed(share, 3) + " % of a core", "0 %", Fixed(share, 3) + " %", "< 0.5 %", YesNo(share < 0.5));
}

// The simulator echoes a line as "echo: " + line + CR LF: 250 bytes for a
// line of 242.
void MeasureFrame(BenchWindow &bench, int frames)
{
    const Text line(242, 'x');
    const Text echo = "echo: " + line + "\r\n";
    bool firstByte = false;
    double cpu0 = 0;
    double gui0 = 0;
    Clock::time_point start;
    QObject::connect(bench.window.SerialPort, &SerialPortUnit::dataReceived, [&](int) {
        if (firstByte)
            return;
        firstByte = true;
        start = Clock::now();
        cpu0 = CpuMs(CLOCK_PROCESS_CPUTIME_ID);
        gui0 = CpuMs(CLOCK_THREAD_CPUTIME_ID);
    });

    std::vector<double> shares;
    std::vector<double> guiShares;
    int spoiled = 0;
    while (shares.size() < std::size_t(frames)) {
        firstByte = false;
        bench.window.SendTextEdit->SetContent(line);
        bench.window.SendButton->click();
        const bool published = HandleEventsUntil([&] {
            return firstByte && bench.state.ResponseReady == 1 && bench.window.ReceiveTextEdit->Content() == echo;
        });
        const double wall = MsBetween(start, Clock::now());
        const double cpu = CpuMs(CLOCK_PROCESS_CPUTIME_ID) - cpu0;
        const double gui = CpuMs(CLOCK_THREAD_CPUTIME_ID) - gui0;
        // An echo cut in two (the GUI thread held up for 40 ms on a busy
        // machine) is left out.
        if (!published && ++spoiled > frames)
            Fail("the 250-byte echo was not published");
        if (!published || bench.state.LinkOpen != 1)
            continue;
        shares.push_back(100.0 * cpu / wall);
        guiShares.push_back(100.0 * gui / wall);
    }
    const double share = Median(shares);
    PrintRow("CPU during a 250-byte frame, first byte to publication (median of " + std::to_string(frames) + ")",
             Fixed(share) + " % of a core (GUI thread " + Fixed(Median(guiShares)) + " %)",
             "100 %: the receive worker's busy wait", Fixed(share - 100.0) + " %", "busy wait only", "—");
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    if (argc < 2)
        Fail("usage: bench_cpu <path of tq5520-sim>");
    QProcess sim;
    StartSimulator(sim, QString::fromLocal8Bit(argv[1]));
    {
        BenchWindow bench;
        ConnectOrFail(bench);
        MeasureIdle(bench, 10);
        MeasureFrame(bench, 5);
    }
    sim.terminate();
    sim.waitForFinished(5000);
    return 0;
}
