#include "core/CodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
constexpr const char *kCodePageName = "GB18030";
}

QString DecodeCodePage(const QByteArray &bytes)
{
    QStringDecoder decoder(kCodePageName);
    return decoder.decode(bytes);
}

QByteArray EncodeCodePage(const QString &text)
{
    QStringEncoder encoder(kCodePageName);
    return encoder.encode(text);
}
