#pragma once

// Lowers the priority of the calling thread below that of the GUI thread.
void LowerCurrentThreadPriority();
