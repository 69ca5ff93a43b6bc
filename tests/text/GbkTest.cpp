#include "Gbk.h"

#include <gtest/gtest.h>

TEST(Gbk, ConvertsBothWays)
{
    struct Case
    {
        QString shown;
        Text bytes;
    };
    const Case cases[] = {
        {QStringLiteral("COM1"), "COM1"},
        {QString::fromUtf8("串口CONN失败"), "\xB4\xAE\xBF\xDA" "CONN" "\xCA\xA7\xB0\xDC"},
        {QString::fromUtf8("<错误>"), "<\xB4\xED\xCE\xF3>"},
        {QString::fromUtf8("５００"), "\xA3\xB5\xA3\xB0\xA3\xB0"},
        {QString::fromUtf8("　"), "\xA1\xA1"},
        {QString(), ""},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(QStringToGbk(c.shown), c.bytes) << c.shown.toStdString();
        EXPECT_EQ(GbkToQString(c.bytes), c.shown) << c.shown.toStdString();
    }
}
