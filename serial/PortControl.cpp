#include "PortControl.h"
