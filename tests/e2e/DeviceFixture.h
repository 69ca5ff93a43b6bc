#pragma once

#include "AppState.h"
#include "MainWindow.h"
#include "Simulator.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <vector>

// The tool's window, wired as in the program, on the port of a simulated
// device that answers at once (no connect window). Information boxes are
// answered by the test and recorded.
class DeviceFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Handles events until done() holds or the timeout passes.
    static bool WaitUntil(const std::function<bool()> &done,
                          std::chrono::milliseconds timeout = std::chrono::seconds(5));
    // The lines the device received, without the open and close events.
    std::vector<Text> DeviceLines() const;
    // True when each received line came right after a close and a reopen.
    bool EachLineAfterReopen() const;
    std::string DescribeLog() const;
    // The user picks item index of PortCombo.
    void ChoosePort(int index);
    void ExpectIdleDisconnected() const;
    void ExpectConnected() const;

    Simulator sim;
    AppState state;
    MainWindow window;
    std::vector<Text> messages;
};

inline const Text PortNotOpenMessage =
    "Port not open!                               \r\n\r\n1.USB is busy  \r\n2.PORT N not correct  \r\n3.COM port is busy";
inline const Text ConnectionFailedMessage =
    "Connection failed!                        \r\n\r\n1.Check port num. \r\n2.Check power supply        ";
inline const Text ReopenFailedMessage = "\xB4\xAE\xBF\xDA" "CONN" "\xCA\xA7\xB0\xDC";
inline const Text NoReplyMessage = "READ          ";
