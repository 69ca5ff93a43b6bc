#include "TextHelpers.h"
// stub until the text work lands
int32_t TextToInt(const Text &) { return 0; }
Text TextBetween(const Text &, const Text &, const Text &) { return {}; }
