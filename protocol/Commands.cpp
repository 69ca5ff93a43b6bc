#include "Commands.h"

#include "MainWindow.h"

namespace {

// The text of the current item; empty when nothing is selected.
Text CurrentItemText(const ComboBox &combo)
{
    const int index = combo.Selection();
    return combo.ItemText(index);
}

} // namespace

Text BuildSetCommand(const MainWindow &window)
{
    const ComboBox *channels[] = {
        window.Com1BaudCombo, window.Com1ParityCombo, window.Com2BaudCombo, window.Com2ParityCombo,
        window.Com3BaudCombo, window.Com3ParityCombo, window.Com4BaudCombo, window.Com4ParityCombo,
    };
    // Values go out as the controls hold them: judging them is the device's business.
    Text command = CommandPrefix;
    for (const ComboBox *combo : channels)
        command += CurrentItemText(*combo) + ",";
    command += window.TimeoutEdit->Content() + ",";
    command += window.IntervalEdit->Content();
    command += "\r\n";
    return command;
}
