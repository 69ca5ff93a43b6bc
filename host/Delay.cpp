#include "Delay.h"
// stub until the delay work lands
void Delay(int) {}
void CutShortDelays(bool) {}
void WaitMicroseconds(int) {}
