#include "InfoBox.h"
