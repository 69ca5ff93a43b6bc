#include "Delay.h"
