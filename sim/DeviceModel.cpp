#include "DeviceModel.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

const Text Prefix = "+++@@@AAA=";
const Text SettingLine = Prefix + "setting\r\n";
const Text VersionLine = Prefix + "Ver\r\n";
const Text ReadLine = Prefix + "?\r\n";
const Text WorkingLine = Prefix + "working\r\n";
const Text CrLf = "\r\n";

const std::array<std::pair<Misbehaviour, const char *>, 11> Names = {{
    {Misbehaviour::None, "none"},
    {Misbehaviour::Silent, "silent"},
    {Misbehaviour::CapitalSetting, "capital"},
    {Misbehaviour::NoPrefix, "noprefix"},
    {Misbehaviour::NoConfigReply, "noconfig"},
    {Misbehaviour::CutReply, "cut"},
    {Misbehaviour::TooLong, "long"},
    {Misbehaviour::ZeroAndHighBytes, "binary"},
    {Misbehaviour::Trickle, "trickle"},
    {Misbehaviour::HangUp, "hangup"},
    {Misbehaviour::RemoveLink, "unlink"},
}};

bool EndsWith(const Text &text, const Text &end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

Text WithoutLineEnd(Text line)
{
    if (EndsWith(line, "\n"))
        line.pop_back();
    if (EndsWith(line, "\r"))
        line.pop_back();
    return line;
}

// A configuration write: the prefix, ten comma-separated fields, CR LF.
bool IsConfigWrite(const Text &line)
{
    return line.starts_with(Prefix) && EndsWith(line, CrLf)
        && std::count(line.begin(), line.end(), ',') == 9;
}

bool InConnectWindow(const DeviceState &state, std::chrono::steady_clock::time_point arrived)
{
    return !state.connectWindow || state.settingMode || arrived - state.poweredOn <= state.windowLength;
}

Text SoundAnswer(DeviceState &state, const Text &line, std::chrono::steady_clock::time_point arrived)
{
    if (line == SettingLine) {
        if (!InConnectWindow(state, arrived))
            return {};
        state.settingMode = true;
        return "setting ok" + CrLf;
    }
    if (line == VersionLine)
        return "TQ-5520 V1.00 (simulator)" + CrLf;
    if (line == ReadLine)
        return Prefix + state.config + CrLf;
    if (line == WorkingLine) {
        state.settingMode = false;
        return "working ok" + CrLf;
    }
    if (IsConfigWrite(line)) {
        state.config = WithoutLineEnd(line.substr(Prefix.size()));
        return Prefix + state.config + CrLf;
    }
    return "echo: " + WithoutLineEnd(line) + CrLf;
}

void Misbehave(Reply &reply, Misbehaviour m, const Text &line)
{
    Text &bytes = reply.bytes;
    switch (m) {
    case Misbehaviour::None:
        break;
    case Misbehaviour::Silent:
        bytes.clear();
        break;
    case Misbehaviour::CapitalSetting:
        if (line == SettingLine && !bytes.empty())
            bytes[0] = 'S';
        break;
    case Misbehaviour::NoPrefix:
        if (bytes.starts_with(Prefix))
            bytes.erase(0, Prefix.size());
        break;
    case Misbehaviour::NoConfigReply:
        if (line == ReadLine)
            bytes.clear();
        break;
    case Misbehaviour::CutReply:
        reply.pauseBefore = bytes.size() / 2;
        reply.pause = std::chrono::milliseconds(60);
        break;
    case Misbehaviour::TooLong:
        if (!bytes.empty()) {
            bytes = WithoutLineEnd(bytes) + " ";
            for (char digit = '0'; bytes.size() < 298; digit = digit == '9' ? '0' : digit + 1)
                bytes += digit;
            bytes += CrLf;
        }
        break;
    case Misbehaviour::ZeroAndHighBytes:
        if (!bytes.empty())
            bytes = Text(1, '\0') + WithoutLineEnd(bytes) + " \x80\x81\xFE\xFF" + Text(1, '\0')
                + "\xB4\xAE\xBF\xDA" + CrLf;
        break;
    case Misbehaviour::Trickle:
        reply.byteGap = std::chrono::milliseconds(30);
        break;
    case Misbehaviour::HangUp:
        reply.hangUpBefore = std::max<std::size_t>(bytes.size() / 2, 1);
        break;
    case Misbehaviour::RemoveLink:
        reply.removeLinkAfter = true;
        break;
    }
}

} // namespace

const char *MisbehaviourName(Misbehaviour m)
{
    for (const auto &[value, name] : Names)
        if (value == m)
            return name;
    return "none";
}

bool MisbehaviourFromName(const std::string &name, Misbehaviour &m)
{
    for (const auto &[value, text] : Names)
        if (name == text) {
            m = value;
            return true;
        }
    return false;
}

Reply AnswerLine(DeviceState &state, const Text &line, std::chrono::steady_clock::time_point arrived)
{
    Reply reply;
    reply.bytes = SoundAnswer(state, line, arrived);
    if (state.misbehaviourOnlyFor.empty() || state.misbehaviourOnlyFor == line)
        Misbehave(reply, state.misbehaviour, line);
    return reply;
}
