#include "Framer.h"
