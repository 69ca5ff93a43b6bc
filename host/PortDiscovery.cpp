#include "PortDiscovery.h"
