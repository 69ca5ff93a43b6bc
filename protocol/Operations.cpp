#include "Operations.h"
