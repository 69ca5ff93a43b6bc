#pragma once

#include <string>

// Opens a pseudo-terminal whose slave is set raw at 9600 baud. Returns the
// non-blocking master, or -1 with error set. The slave has been opened and
// closed once, so the master reports a hang-up until somebody opens it.
int OpenRawPty(std::string &slavePath, std::string &error);
