#pragma once

#include "Text.h"

#include <functional>

// Every message of the system: caption "Info: ", the text, an OK button only,
// no icon, no owner, modal. Returns when the user has pressed OK.
void ShowInfo(const Text &text);

// Tests answer the box without a person: while an answerer is set, ShowInfo
// hands it the text instead of showing the box. Pass nullptr to restore.
void SetInfoBoxAnswerer(std::function<void(const Text &)> answerer);

// At shut-down: close a box that is showing and show no further box; every
// later ShowInfo returns at once, without calling an answerer either.
void DismissInfoBoxes();

// Undoes DismissInfoBoxes, for tests that close more than one window.
void ResumeInfoBoxes();
