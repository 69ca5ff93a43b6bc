#include "AppState.h"
#include "Delay.h"
#include "Gbk.h"
#include "InfoBox.h"
#include "MainWindow.h"
#include "PortDiscovery.h"
#include "SerialPortUnit.h"
#include "Startup.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

namespace {

// RefreshPortList sees exactly these ports while the fixture lives.
class Ports : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetPortEnumerator([this](std::vector<ComPortEntry> &list) {
            ++enumerations;
            list = present;
        });
    }
    void TearDown() override { SetPortEnumerator(nullptr); }

    std::vector<ComPortEntry> present;
    int enumerations = 0;
};

ComPortEntry Port(const Text &name, int number, const std::string &device)
{
    return ComPortEntry{name, number, device};
}

std::vector<Text> Items(const ComboBox *combo)
{
    std::vector<Text> items;
    for (int i = 0; i < combo->count(); ++i)
        items.push_back(combo->ItemText(i));
    return items;
}

std::vector<int> Values(const ComboBox *combo)
{
    std::vector<int> values;
    for (int i = 0; i < combo->count(); ++i)
        values.push_back(combo->ItemValue(i));
    return values;
}

} // namespace

TEST_F(Ports, RefreshListsThePortsInTheirOrderAndLeavesThePortAlone)
{
    MainWindow w;
    w.SerialPort->SetPortNumber(6);
    present = {Port("USB Serial Port (COM4)", 4, "/dev/ttyUSB0"), Port("Serial port ttyS0 (COM2)", 2, "/dev/ttyS0"),
               Port("  ", 0, "/dev/ttyACM0"), Port("Twin (COM10)", 10, "/dev/a"), Port("Twin (COM10)", 10, "/dev/b")};
    RefreshPortList(w);
    EXPECT_EQ(Items(w.PortCombo), (std::vector<Text>{"COM4", "COM2", "COM0", "COM10", "COM10"}));
    EXPECT_EQ(Values(w.PortCombo), (std::vector<int>{4, 2, 0, 10, 10}));
    EXPECT_EQ(w.PortCombo->Selection(), 0);
    EXPECT_EQ(w.SerialPort->PortNumber(), 6);

    // The description and the device tell two ports apart.
    const QString tip = w.PortCombo->itemData(0, Qt::ToolTipRole).toString();
    EXPECT_TRUE(tip.contains(QLatin1String("USB Serial Port (COM4)")));
    EXPECT_TRUE(tip.contains(QLatin1String("/dev/ttyUSB0")));

    // A refresh replaces everything; with no port nothing is selected.
    present = {Port("Chinese \xB4\xAE\xBF\xDA (COM1)", -3, "/dev/x")};
    RefreshPortList(w);
    EXPECT_EQ(Items(w.PortCombo), std::vector<Text>{"COM-3"});
    EXPECT_TRUE(w.PortCombo->itemData(0, Qt::ToolTipRole).toString().contains(GbkToQString("\xB4\xAE\xBF\xDA")));
    present.clear();
    RefreshPortList(w);
    EXPECT_EQ(w.PortCombo->count(), 0);
    EXPECT_EQ(w.PortCombo->Selection(), -1);
}

TEST_F(Ports, CreatedWithoutAnyPort)
{
    AppState state;
    state.LinkOpen = 1;
    MainWindow w;
    OnMainWindowCreated(state, w);
    EXPECT_EQ(w.PortCombo->count(), 0);
    EXPECT_EQ(w.PortCombo->Selection(), -1);
    EXPECT_EQ(w.SerialPort->PortNumber(), 1); // the -1 of an empty list is stored as 1
    EXPECT_EQ(state.IdleTickLimit, 20);
    EXPECT_EQ(state.LinkOpen, 0);
    EXPECT_EQ(state.WatchThread, nullptr);
    EXPECT_FALSE(w.SerialPort->IsOpen());
}

TEST_F(Ports, CreatedTakesThePortOfTheFirstItem)
{
    AppState state;
    MainWindow w;
    present = {Port("B (COM5)", 5, "/dev/b"), Port("A (COM2)", 2, "/dev/a")};
    OnMainWindowCreated(state, w);
    EXPECT_EQ(w.PortCombo->Selection(), 0);
    EXPECT_EQ(w.SerialPort->PortNumber(), 5);
    EXPECT_EQ(enumerations, 1);
}

TEST_F(Ports, OpeningTheListRefreshesItAndDismissingChoosesNothing)
{
    AppState state;
    MainWindow w;
    WireMainWindow(state, w);
    present = {Port("A (COM3)", 3, "/dev/a")};
    OnMainWindowCreated(state, w);
    w.show();

    present = {Port("B (COM8)", 8, "/dev/b"), Port("A (COM3)", 3, "/dev/a")};
    w.PortCombo->showPopup();
    EXPECT_EQ(enumerations, 2);
    EXPECT_EQ(Items(w.PortCombo), (std::vector<Text>{"COM8", "COM3"}));
    QTest::keyClick(w.PortCombo->view(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.PortCombo->ItemText(w.PortCombo->Selection()), Text("COM8"));
    EXPECT_EQ(w.SerialPort->PortNumber(), 3);
}

TEST(PortsOfTheSystem, ALinkInThePortFolderBecomesAnItem)
{
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(PortFolder())));
    QFile device(runtime.filePath(QStringLiteral("device")));
    ASSERT_TRUE(device.open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile::link(device.fileName(), QString::fromStdString(PortFolder()) + QStringLiteral("/com7")));

    MainWindow w;
    RefreshPortList(w);
    qputenv("XDG_RUNTIME_DIR", saved);

    ASSERT_GE(w.PortCombo->count(), 1);
    EXPECT_EQ(w.PortCombo->ItemText(0), Text("COM7"));
    EXPECT_EQ(w.PortCombo->ItemValue(0), 7);
    EXPECT_TRUE(w.PortCombo->itemData(0, Qt::ToolTipRole).toString().contains(QLatin1String("device")));
}

TEST(ShutDown, ClosingTheWindowUnwindsEverythingStillRunning)
{
    AppState state;
    AllocRxBuffer(state);
    MainWindow w;
    WireMainWindow(state, w);
    OnMainWindowCreated(state, w);
    int boxes = 0;
    SetInfoBoxAnswerer([&](const Text &) { ++boxes; });
    w.show();

    QTest::keyClick(w.SendTextEdit, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(state.Closing);

    // An operation that was waiting finds its waits over and no box to show.
    QElapsedTimer clock;
    clock.start();
    Delay(10000);
    EXPECT_LT(clock.elapsed(), 5000);
    ShowInfo("Connection failed!");
    EXPECT_EQ(boxes, 0);
    // A byte that still arrives is not handled any more.
    emit w.SerialPort->dataReceived('A');
    QCoreApplication::processEvents();
    EXPECT_EQ(state.RxCount, 0);
    EXPECT_EQ(state.WatchThread, nullptr);
    // Controls stay usable until the window goes at the end of the program.
    w.ReceiveTextEdit->SetContent("late");
    EXPECT_EQ(w.ReceiveTextEdit->Content(), Text("late"));

    SetInfoBoxAnswerer(nullptr);
    ResumeInfoBoxes();
    CutShortDelays(false);
    FreeRxBuffer(state);
}

TEST(ShutDown, ClosingTheProgramWindowEndsTheProgramWithStatusZero)
{
    SetPortEnumerator([](std::vector<ComPortEntry> &list) { list = {ComPortEntry{"P (COM5)", 5, "/dev/p"}}; });
    bool seen = false;
    QTimer closer;
    closer.setInterval(20);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        for (QWidget *top : QApplication::topLevelWidgets()) {
            auto *window = qobject_cast<MainWindow *>(top);
            if (!window || !window->isVisible())
                continue;
            seen = true;
            EXPECT_EQ(window->frameGeometry().size(), QSize(590, 588));
            EXPECT_EQ(window->frameGeometry().center(), window->screen()->availableGeometry().center());
            EXPECT_EQ(window->SerialPort->PortNumber(), 5); // created before the loop ran
            QTest::keyClick(window->ReceiveTextEdit, Qt::Key_Escape);
        }
    });
    closer.start();
    // Should the window never close, end the loop so that the test fails.
    QTimer::singleShot(30000, [] { QCoreApplication::exit(7); });

    EXPECT_EQ(RunProgram(), 0);
    EXPECT_TRUE(seen);

    SetPortEnumerator(nullptr);
    ResumeInfoBoxes();
    CutShortDelays(false);
}

TEST(ShutDown, WithoutADisplayTheProgramSaysHowToRunIt)
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    program.setProcessEnvironment(environment);
    program.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../../app/tq5520"), {});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 1);
    const QString said = QString::fromLocal8Bit(program.readAllStandardError());
    EXPECT_TRUE(said.contains(QLatin1String("xvfb-run"))) << said.toStdString();
}
