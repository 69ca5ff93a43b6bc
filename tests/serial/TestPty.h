#pragma once

#include "Text.h"

#include <string>

// The device side of a pseudo-terminal whose other side is linked as comN in
// the port folder. The port folder lies in a temporary XDG_RUNTIME_DIR.
class TestPty
{
public:
    explicit TestPty(int portNumber);
    ~TestPty();

    bool Ready() const { return m_master >= 0; }
    void Write(const Text &bytes);
    // Reads what has arrived within the given time, up to the count.
    Text Read(size_t count, int milliseconds);
    // The device goes away: the other side sees a hang-up.
    void HangUp();

private:
    int m_master = -1;
    int m_slave = -1;
};
