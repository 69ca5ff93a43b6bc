#include "InfoBox.h"
// stub until the window work lands
void ShowInfo(const Text &) {}
void SetInfoBoxAnswerer(std::function<void(const Text &)>) {}
void DismissInfoBoxes() {}
