#include "SerialPortUnit.h"
