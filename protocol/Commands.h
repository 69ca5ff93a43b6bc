#pragma once

#include "Text.h"

#include <array>

class MainWindow;

inline const Text CommandPrefix = "+++@@@AAA=";
inline const Text EnterSettingCommand = "+++@@@AAA=setting\r\n";
inline const Text VersionCommand = "+++@@@AAA=Ver\r\n";
inline const Text ReadConfigCommand = "+++@@@AAA=?\r\n";
inline const Text LeaveSettingCommand = "+++@@@AAA=working\r\n";

inline const std::array<Text, 9> BaudTable = {
    "1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200", "230400"};
inline const std::array<Text, 3> ParityTable = {"none", "odd", "even"};

// The configuration-write command for the controls as they are now.
Text BuildSetCommand(const MainWindow &window);
