#include "Parsing.h"
