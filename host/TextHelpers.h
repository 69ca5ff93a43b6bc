#pragma once

#include "Text.h"

#include <cstdint>

// Leading number of a text. GBK full-width forms (A3A1..A3FE) count as their
// ASCII characters and A1A1 as a blank; white space is skipped, one sign is
// taken, digits are read up to the first other byte. No digits give 0; the
// result saturates at the limits of int32_t.
int32_t TextToInt(const Text &text);

// The bytes between the first start marker and the first end marker after it,
// or "<错误>" (in GBK) when either is missing. Matches are tried only at the
// start of a GBK character, never at the second byte of a double-byte one.
Text TextBetween(const Text &text, const Text &startMarker, const Text &endMarker);
