#pragma once
// Text crosses into and out of the program as 8-bit code-page bytes. GB18030
// reads and writes every GBK byte sequence unchanged and can still hold any
// character outside GBK.
#include <QByteArray>
#include <QString>

QString DecodeCodePage(const QByteArray &bytes);
QByteArray EncodeCodePage(const QString &text);
