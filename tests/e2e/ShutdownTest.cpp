#include "Delay.h"
#include "InfoBox.h"
#include "MainWindow.h"
#include "Simulator.h"
#include "Startup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

MainWindow *TheWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<MainWindow *>(widget))
            return window;
    }
    return nullptr;
}

// The whole program, with real information boxes: closing the window while
// READ waits for a silent device ends everything at once, sends nothing
// more and shows no box.
TEST(Shutdown, ClosingTheWindowDuringAReadEndsTheProgramQuicklyAndQuietly)
{
    Simulator sim;
    sim.SetConnectWindow(false);
    ASSERT_TRUE(sim.Start()) << sim.Error();
    sim.SetMisbehaviour(Misbehaviour::Silent);

    QStringList boxesShown;
    QTimer boxWatch;
    QObject::connect(&boxWatch, &QTimer::timeout, [&] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(widget);
            if (box && box->isVisible()) {
                boxesShown << box->text();
                box->done(QMessageBox::Ok);
            }
        }
    });
    boxWatch.start(10);

    QElapsedTimer sinceClose;
    size_t linesAtClose = 0;
    bool readStarted = false;
    QTimer::singleShot(0, [&] {
        MainWindow *window = TheWindow();
        ASSERT_NE(window, nullptr);
        // Close while the handshake waits for its first reply.
        QTimer::singleShot(700, [&, window] {
            linesAtClose = sim.Lines().size();
            sinceClose.start();
            window->close();
        });
        readStarted = true;
        window->ReadButton->click();
    });

    const int status = RunProgram();
    const qint64 unwound = sinceClose.elapsed();

    EXPECT_TRUE(readStarted);
    EXPECT_EQ(status, 0);
    EXPECT_LT(unwound, 1000);
    EXPECT_GE(linesAtClose, 1u);
    EXPECT_EQ(sim.Lines().size(), linesAtClose);
    EXPECT_TRUE(boxesShown.isEmpty()) << boxesShown.join("|").toStdString();

    CutShortDelays(false);
    ResumeInfoBoxes();
}

} // namespace
