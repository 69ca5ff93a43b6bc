#include "Parsing.h"

#include "Commands.h"
#include "MainWindow.h"

int FindText(const Text &text, const Text &sought)
{
    if (text.empty() || sought.empty())
        return -1;
    const size_t at = text.find(sought);
    return at == Text::npos ? -1 : int(at) + 1;
}

int SplitFields(const Text &text, const Text &delimiter, std::vector<Text> &fields)
{
    fields.clear();
    size_t pieceStart = 0;
    size_t i = 0;
    while (i < text.size()) {
        if (!delimiter.empty() && text.compare(i, delimiter.size(), delimiter) == 0) {
            if (i > pieceStart)
                fields.push_back(text.substr(pieceStart, i - pieceStart));
            i += delimiter.size();
            pieceStart = i;
            continue;
        }
        // A double-byte character is stepped over whole: its second byte may
        // have the value of the delimiter.
        i += static_cast<unsigned char>(text[i]) >= 0x80 ? 2 : 1;
    }
    if (pieceStart < text.size())
        fields.push_back(text.substr(pieceStart));
    return int(fields.size());
}

void ParseConfigReply(MainWindow &window, const Text &reply)
{
    std::vector<Text> fields;
    SplitFields(reply, ",", fields);
    // A reply missing a field would put every later value on the wrong
    // control, and a cut-short one a truncated number; the next SET would
    // write either into the device. Such a reply is left unused.
    if (fields.size() < 10)
        return;

    ComboBox *const baudCombos[] = {window.Com1BaudCombo, window.Com2BaudCombo, window.Com3BaudCombo, window.Com4BaudCombo};
    ComboBox *const parityCombos[] = {window.Com1ParityCombo, window.Com2ParityCombo, window.Com3ParityCombo, window.Com4ParityCombo};
    for (size_t k = 0; k < 4; ++k) {
        baudCombos[k]->SetSelection(LookUpByContainment(BaudTable, fields[2 * k]));
        parityCombos[k]->SetSelection(LookUpByContainment(ParityTable, fields[2 * k + 1]));
    }
    // Each write runs the box's clamp before it returns.
    window.TimeoutEdit->SetContent(fields[8]);
    window.IntervalEdit->SetContent(fields[9]);
}
