// READ and a full connection, click to result, against the simulator in this
// process over a real pty.

#include "Bench.h"
#include "BenchWindow.h"
#include "SerialPortUnit.h"
#include "Simulator.h"

#include <QApplication>

#include <array>

namespace {

// Two configurations of the same length, so that every READ changes the
// window and every reply takes the same time on the line.
struct Shown
{
    Text record;
    int com1Baud; // index into the baud table
    Text timeout;
};
const std::array<Shown, 2> Configs = {{
    {"9600,none,9600,none,9600,none,9600,none,1000,500", 3, "1000"},
    {"4800,even,4800,even,4800,even,4800,even,2000,600", 2, "2000"},
}};

// One click: how long it took and the best the protocol allows for it.
struct Click
{
    double ms = 0;
    double floorMs = 0;
    bool answered = false; // every command was read and answered
    std::vector<double> turnArounds;
    std::vector<std::size_t> replyBytes;
};

// Clicks the button. The command of every exchange is shown in SendTextEdit
// just before it goes out, which marks the send; the simulator's log tells
// when it read the command and what it answered.
Click TimedClick(Simulator &sim, BenchWindow &bench, Button *button, bool connecting)
{
    std::vector<Clock::time_point> sends;
    const QMetaObject::Connection marker = QObject::connect(
        bench.window.SendTextEdit, &EditBox::contentChanged, [&] { sends.push_back(Clock::now()); });
    sim.ClearLog();
    const Clock::time_point start = Clock::now();
    button->click();
    Click click;
    click.ms = MsBetween(start, Clock::now());
    QObject::disconnect(marker);

    std::vector<SimEvent> lines;
    for (const SimEvent &event : sim.Log()) {
        if (event.kind == SimEvent::Kind::Line)
            lines.push_back(event);
        else if (event.kind == SimEvent::Kind::Reply)
            click.replyBytes.push_back(event.text.size());
    }
    click.answered = lines.size() == sends.size() && click.replyBytes.size() == sends.size();
    if (!click.answered)
        return click;
    click.floorMs = connecting ? ReopenMs : 0;
    for (std::size_t i = 0; i < sends.size(); ++i) {
        click.turnArounds.push_back(MsBetween(sends[i], lines[i].time) + SimTurnAroundMs);
        click.floorMs += ExchangeFloorMs(click.turnArounds[i], click.replyBytes[i]);
    }
    return click;
}

std::vector<double> Overheads(const std::vector<Click> &clicks)
{
    std::vector<double> overheads;
    for (const Click &click : clicks)
        overheads.push_back(click.ms - click.floorMs);
    return overheads;
}

std::vector<double> Field(const std::vector<Click> &clicks, double Click::*field)
{
    std::vector<double> values;
    for (const Click &click : clicks)
        values.push_back(click.*field);
    return values;
}

std::vector<double> TurnArounds(const std::vector<Click> &clicks, std::size_t exchange)
{
    std::vector<double> values;
    for (const Click &click : clicks)
        values.push_back(click.turnArounds.at(exchange));
    return values;
}

// A reply that comes cut in two (the GUI thread held up for 40 ms on a busy
// machine) spoils that click; it is counted and left out.
std::string Spoiled(int spoiled)
{
    return spoiled == 0 ? std::string() : "; " + std::to_string(spoiled) + " spoiled by a cut reply, left out";
}

void MeasureRead(Simulator &sim, BenchWindow &bench, int runs)
{
    std::vector<Click> clicks;
    int spoiled = 0;
    for (int run = 0; clicks.size() < std::size_t(runs); ++run) { // run 0 warms up
        if (bench.state.LinkOpen != 1)
            ConnectOrFail(bench);
        const Shown &config = Configs[run % 2];
        sim.SetConfig(config.record);
        const Click click = TimedClick(sim, bench, bench.window.ReadButton, false);
        const bool shown = bench.window.Com1BaudCombo->Selection() == config.com1Baud &&
                           bench.window.TimeoutEdit->Content() == config.timeout && bench.state.LinkOpen == 1 &&
                           bench.messages.empty() && click.answered && click.replyBytes.size() == 1;
        bench.messages.clear();
        if (!shown && ++spoiled > runs)
            Fail("READ did not show the device's configuration");
        if (shown && run > 0)
            clicks.push_back(click);
    }
    const double turnAround = Median(TurnArounds(clicks, 0));
    const std::vector<double> overheads = Overheads(clicks);
    PrintRow("READ, click to configuration shown (" + std::to_string(runs) + Spoiled(spoiled) + ")",
             "median " + Fixed(Median(Field(clicks, &Click::ms))) + " ms, worst " +
                 Fixed(Worst(Field(clicks, &Click::ms))) + " ms",
             Fixed(Median(Field(clicks, &Click::floorMs)), 0) + " ms = " +
                 ExchangeFloorParts(turnAround, clicks.front().replyBytes[0]) + ", median turn-around",
             "median " + Fixed(Median(overheads)) + " ms, worst " + Fixed(Worst(overheads)) + " ms",
             "< 5 ms (median)", YesNo(Median(overheads) < 5));
}

void MeasureConnection(Simulator &sim, BenchWindow &bench, int runs)
{
    std::vector<Click> clicks;
    int spoiled = 0;
    for (int run = 0; clicks.size() < std::size_t(runs); ++run) { // run 0 warms up
        const Click click = TimedClick(sim, bench, bench.window.ConnButton, true);
        const bool connected = bench.state.LinkOpen == 1 && bench.window.ConnButton->Caption() == "    " &&
                               bench.messages.empty() && click.answered && click.replyBytes.size() == 3;
        bench.messages.clear();
        if (!connected && ++spoiled > runs)
            Fail("the tool did not connect");
        if (connected && run > 0)
            clicks.push_back(click);
        if (bench.state.LinkOpen == 1)
            bench.window.ConnButton->click(); // disconnects
        if (bench.state.LinkOpen != 0)
            Fail("a disconnection failed");
    }
    std::string parts = "200";
    std::string turnArounds;
    for (std::size_t i = 0; i < 3; ++i) {
        const double turnAround = Median(TurnArounds(clicks, i));
        parts += " + " + Fixed(ExchangeFloorMs(turnAround, clicks.front().replyBytes[i]), 0);
        turnArounds += (i ? ", " : "") + Fixed(turnAround);
    }
    const double overhead = Median(Overheads(clicks));
    PrintRow("Full connection, click to connected (median of " + std::to_string(runs) + Spoiled(spoiled) + ")",
             Fixed(Median(Field(clicks, &Click::ms))) + " ms",
             Fixed(Median(Field(clicks, &Click::floorMs)), 0) + " ms = " + parts +
                 " (median turn-arounds " + turnArounds + " ms; replies of " +
                 std::to_string(clicks.front().replyBytes[0]) + ", " + std::to_string(clicks.front().replyBytes[1]) +
                 ", " + std::to_string(clicks.front().replyBytes[2]) + " bytes)",
             Fixed(overhead) + " ms, " + Fixed(overhead / 3) + " ms per exchange", "< 5 ms per exchange (median)",
             YesNo(overhead / 3 < 5));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    Simulator sim;
    sim.SetConnectWindow(false);
    if (!sim.Start())
        Fail("simulator: " + sim.Error());
    BenchWindow bench;
    if (bench.window.SerialPort->PortNumber() != sim.PortNumber())
        Fail("the simulator's port is not the first in the list");

    MeasureRead(sim, bench, 50);
    bench.window.ConnButton->click(); // disconnects
    MeasureConnection(sim, bench, 20);
    return 0;
}
