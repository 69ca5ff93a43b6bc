#include "Gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

QString GbkToQString(const Text &bytes)
{
    QStringDecoder decoder("GBK");
    return decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

Text QStringToGbk(const QString &text)
{
    QStringEncoder encoder("GBK");
    const QByteArray bytes = encoder.encode(text);
    return Text(bytes.constData(), size_t(bytes.size()));
}
