#pragma once

// Waits the given time on the GUI thread while the GUI thread's events keep
// being handled. Nests; returns at once for 0 or less; uses no processor
// while nothing happens.
void Delay(int milliseconds);

// At shut-down every Delay, running or future, ends at once so that an
// operation in progress can unwind. Tests switch it back off.
void CutShortDelays(bool on);

// Busy wait on a monotonic high-resolution clock; for the receive worker only.
void WaitMicroseconds(int microseconds);
