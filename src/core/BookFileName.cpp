#include "core/BookFileName.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <optional>

namespace {

constexpr QChar kEscaped = QChar::ReplacementCharacter;
// Printable ASCII other than "%" and the blank stays readable.
const QByteArray kLeftAsTheyAre = "!\"#$&'()*+,:;<=>?@[\\]^`{|}";

QString Escaped(const QByteArray &bytes)
{
    return kEscaped + QString::fromLatin1(bytes.toPercentEncoding(kLeftAsTheyAre));
}

// The bytes a text in the escaped form stands for; nullopt for a text that
// is not in that form, or stands for no file name (a "/" or a NUL in it).
std::optional<QByteArray> Unescaped(const QString &text)
{
    if (!text.startsWith(kEscaped))
        return std::nullopt;
    const QStringView escapes = QStringView(text).sliced(1);
    if (!std::all_of(escapes.begin(), escapes.end(), [](QChar c) { return c > u' ' && c <= u'~'; }))
        return std::nullopt;
    const QByteArray bytes = QByteArray::fromPercentEncoding(escapes.toLatin1());
    if (bytes.contains('/') || bytes.contains('\0'))
        return std::nullopt;
    return bytes;
}

bool IsControl(QChar c)
{
    return c.category() == QChar::Other_Control;
}

QString WithControlsReplaced(QString text)
{
    std::replace_if(text.begin(), text.end(), IsControl, kEscaped);
    return text;
}

qsizetype NameStart(const QString &path)
{
    return qMax(path.lastIndexOf(u'/'), path.lastIndexOf(QDir::separator())) + 1;
}

} // namespace

QString BookNameOf(const QByteArray &bytes)
{
    QString decoded = QFile::decodeName(bytes);
    if (QFile::encodeName(decoded) == bytes && !decoded.startsWith(kEscaped))
        return decoded;
    return Escaped(bytes);
}

QByteArray NativeNameOf(const QString &name)
{
    const std::optional<QByteArray> bytes = Unescaped(name);
    return bytes && BookNameOf(*bytes) == name ? *bytes : QFile::encodeName(name);
}

QByteArray NativePathOf(const QString &bookPath)
{
    const qsizetype nameStart = NameStart(bookPath);
    return QFile::encodeName(bookPath.first(nameStart)) + NativeNameOf(bookPath.sliced(nameStart));
}

QString BookPathOf(const QByteArray &nativePath)
{
    const qsizetype nameStart = nativePath.lastIndexOf('/') + 1;
    return QFile::decodeName(nativePath.first(nameStart)) + BookNameOf(nativePath.sliced(nameStart));
}

QString ShownBookName(const QString &name)
{
    return WithControlsReplaced(QFile::decodeName(NativeNameOf(name)));
}

QString ShownBookPath(const QString &bookPath)
{
    const qsizetype nameStart = NameStart(bookPath);
    return bookPath.first(nameStart) + ShownBookName(bookPath.sliced(nameStart));
}

QString BookNameAsSetting(const QString &name)
{
    const bool standsAsItIs = name == name.trimmed() && std::none_of(name.begin(), name.end(), IsControl);
    return standsAsItIs ? name : Escaped(NativeNameOf(name));
}

QString BookNameFromSetting(const QString &text)
{
    const std::optional<QByteArray> bytes = Unescaped(text);
    if (!bytes)
        return text;
    const QString name = BookNameOf(*bytes);
    return BookNameAsSetting(name) == text ? name : text;
}
