#include "core/CodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
constexpr const char *CodePageName = "GB18030";
}

QString DecodeCodePage(const QByteArray &bytes)
{
    QStringDecoder decoder(CodePageName);
    return decoder.decode(bytes);
}

QByteArray EncodeCodePage(const QString &text)
{
    QStringEncoder encoder(CodePageName);
    return encoder.encode(text);
}
