#pragma once

#include "Text.h"

#include <QString>

// Conversion between GBK bytes and what Qt shows. Bytes that are not valid
// GBK become replacement characters on the way in; the controls keep the
// original bytes so that a program write reads back unchanged.
QString GbkToQString(const Text &bytes);
Text QStringToGbk(const QString &text);
