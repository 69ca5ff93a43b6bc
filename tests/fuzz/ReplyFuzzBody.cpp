#include "ReplyFuzzBody.h"

#include "MainWindow.h"
#include "Operations.h"
#include "Parsing.h"
#include "TextHelpers.h"

#include <QObject>

#include <algorithm>
#include <vector>

namespace {

bool InRange(const Text &content)
{
    const int32_t value = TextToInt(content);
    return value >= 0 && value <= 10000;
}

bool SplitHolds(const Text &text, const Text &delimiter)
{
    std::vector<Text> fields;
    const int count = SplitFields(text, delimiter, fields);
    if (count != int(fields.size()))
        return false;
    size_t total = 0;
    for (const Text &field : fields) {
        if (field.empty())
            return false;
        total += field.size();
    }
    return total <= text.size();
}

bool BetweenHolds(const Text &text, const Text &start, const Text &end)
{
    const Text between = TextBetween(text, start, end);
    return between == "<\xB4\xED\xCE\xF3>" || text.find(between) != Text::npos;
}

} // namespace

void ConnectClamps(MainWindow &window)
{
    QObject::connect(window.IntervalEdit, &EditBox::contentChanged, window.IntervalEdit, [&window] { OnIntervalChanged(window); });
    QObject::connect(window.TimeoutEdit, &EditBox::contentChanged, window.TimeoutEdit, [&window] { OnTimeoutChanged(window); });
}

bool FeedReplyBytes(MainWindow &window, const Text &bytes)
{
    // The first two bytes choose how much of the rest serves as markers.
    Text rest = bytes;
    size_t startLength = 0;
    size_t endLength = 0;
    if (rest.size() >= 2) {
        startLength = static_cast<unsigned char>(rest[0]) % 4;
        endLength = static_cast<unsigned char>(rest[1]) % 3;
        rest.erase(0, 2);
    }
    startLength = std::min(startLength, rest.size());
    const Text start = rest.substr(0, startLength);
    endLength = std::min(endLength, rest.size() - startLength);
    const Text end = rest.substr(startLength, endLength);

    bool holds = SplitHolds(bytes, ",") && SplitHolds(bytes, start);
    holds = BetweenHolds(bytes, start, end) && holds;
    holds = BetweenHolds(bytes, "COM", ")") && holds;
    TextToInt(bytes);
    TextToInt(TextBetween(bytes, "COM", ")"));

    ParseConfigReply(window, bytes);
    holds = InRange(window.TimeoutEdit->Content()) && InRange(window.IntervalEdit->Content()) && holds;
    for (ComboBox *combo : {window.Com1BaudCombo, window.Com4ParityCombo})
        holds = combo->Selection() >= -1 && combo->Selection() < combo->count() && holds;
    return holds;
}
