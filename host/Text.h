#pragma once

#include <string>

// The system's texts are byte strings in the GBK code page. A Text holds the
// bytes only; conversion to what a control shows happens at the control.
using Text = std::string;
