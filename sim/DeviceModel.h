#pragma once

#include "Text.h"

#include <chrono>
#include <cstddef>
#include <string>

// What the simulated device can be told to do wrong. Each one changes only
// what goes out on the line; the device's state (stored configuration,
// setting mode) changes as it would with a sound reply.
enum class Misbehaviour
{
    None,
    Silent,           // answers nothing at all
    CapitalSetting,   // answers the setting command with "Setting"
    NoPrefix,         // the configuration reply lacks "+++@@@AAA="
    NoConfigReply,    // answers setting and version, not the configuration read
    CutReply,         // a 60 ms gap in the middle of each reply
    TooLong,          // each reply padded to 300 bytes
    ZeroAndHighBytes, // zero bytes and bytes 0x80..0xFF inside each reply
    Trickle,          // 30 ms between the bytes of a reply
    HangUp,           // hangs up halfway through a reply
    RemoveLink,       // the port's link disappears after the reply
};

// The command-line name of a misbehaviour ("none", "silent", ...).
const char *MisbehaviourName(Misbehaviour m);
bool MisbehaviourFromName(const std::string &name, Misbehaviour &m);

inline const Text DefaultConfig = "9600,none,9600,none,9600,none,9600,none,1000,500";

// The part of the device that decides what to answer.
struct DeviceState
{
    Text config = DefaultConfig; // the ten fields, comma-separated
    bool settingMode = false;    // entered by the setting command, left by working
    bool connectWindow = true;   // setting is accepted only soon after power-on
    std::chrono::milliseconds windowLength{5000};
    std::chrono::steady_clock::time_point poweredOn = std::chrono::steady_clock::now();
    Misbehaviour misbehaviour = Misbehaviour::None;
    Text misbehaviourOnlyFor; // when not empty, only the reply to this line misbehaves
};

// How one reply goes out. Bytes start a byte time apart at 9600 baud.
struct Reply
{
    static constexpr std::size_t Never = static_cast<std::size_t>(-1);

    Text bytes; // empty: the device stays silent
    std::chrono::microseconds byteGap{1042};
    std::size_t pauseBefore = Never; // the line pauses before this byte
    std::chrono::milliseconds pause{0};
    std::size_t hangUpBefore = Never; // the device hangs up before this byte
    bool removeLinkAfter = false;
};

// The device's answer to one received line (ended by LF, normally CR LF),
// which arrived at the given time. Updates the state as the device would.
//
// The connect window: while it is on, the setting command is answered only
// within windowLength of power-on, or while the device is already in setting
// mode; otherwise the device stays silent to it, as a device that has gone
// to work does. The other commands are answered at any time.
Reply AnswerLine(DeviceState &state, const Text &line, std::chrono::steady_clock::time_point arrived);
