#include "Operations.h"

#include "MainWindow.h"
#include "TextHelpers.h"

namespace {

// Holds the box to 0..10000. The corrective write raises the event again;
// that run finds the value in range and writes nothing.
void ClampToRange(EditBox &box)
{
    const int32_t value = TextToInt(box.Content());
    if (value < 0)
        box.SetContent("0");
    else if (value > 10000)
        box.SetContent("10000");
}

} // namespace

void OnIntervalChanged(MainWindow &window)
{
    ClampToRange(*window.IntervalEdit);
}

void OnTimeoutChanged(MainWindow &window)
{
    ClampToRange(*window.TimeoutEdit);
}
