#include "core/BookRewrite.h"

#include <QList>
#include <QStringEncoder>

#include <algorithm>

namespace {

// The book text is encoded again in pieces of this many characters, so that a
// large book is not held twice more while it is compared with its file.
constexpr qsizetype kComparedPiece = 1 << 20;

// A piece of `text` from `from`, at most kComparedPiece long, never ending
// between the halves of a surrogate pair.
QStringView PieceFrom(QStringView text, qsizetype from)
{
    qsizetype length = qMin(kComparedPiece, text.size() - from);
    if (from + length < text.size() && text.at(from + length).isLowSurrogate())
        --length;
    return text.sliced(from, length);
}

// The offset in `bytes` where `text`, encoded from `offset` on, ends; nullopt
// when those bytes are not that text or the encoding cannot hold it.
std::optional<qsizetype> OffsetAfter(const QByteArray &bytes, qsizetype offset, QStringView text,
                                     const TextEncoding &encoding)
{
    QStringEncoder encoder(encoding.Name());
    for (qsizetype done = 0; done < text.size();) {
        const QStringView piece = PieceFrom(text, done);
        const QByteArray encoded = encoder.encode(piece);
        if (encoder.hasError() || !QByteArrayView(bytes).sliced(offset).startsWith(encoded))
            return std::nullopt;
        offset += encoded.size();
        done += piece.size();
    }
    return offset;
}

// Where the book text starts in the file: after the byte-order mark and the
// blanks and line ends the trimming dropped. None of those characters' bytes
// begins the encoding of any other character, so they are skipped as found.
qsizetype TextStartIn(const QByteArray &bytes, const TextEncoding &encoding)
{
    QStringEncoder encoder(encoding.Name());
    QList<QByteArray> trimmed;
    for (const char16_t c : {u' ', u'\t', u'\u3000', u'\r', u'\n'})
        trimmed.append(encoder.encode(QStringView(&c, 1)));
    qsizetype offset = qMin(encoding.markLength, bytes.size());
    for (bool skipped = true; skipped;) {
        skipped = false;
        for (const QByteArray &blank : std::as_const(trimmed)) {
            if (QByteArrayView(bytes).sliced(offset).startsWith(blank)) {
                offset += blank.size();
                skipped = true;
            }
        }
    }
    return offset;
}

bool Encodes(QStringView text, const TextEncoding &encoding)
{
    QStringEncoder encoder(encoding.Name());
    // The encoder works when its result is taken.
    const QByteArray bytes = encoder.encode(text);
    return !encoder.hasError();
}

qsizetype CommonPrefix(QStringView a, QStringView b)
{
    qsizetype n = 0;
    while (n < a.size() && n < b.size() && a[n] == b[n])
        ++n;
    return n;
}

qsizetype CommonSuffix(QStringView a, QStringView b, qsizetype most)
{
    qsizetype n = 0;
    while (n < most && a[a.size() - 1 - n] == b[b.size() - 1 - n])
        ++n;
    return n;
}

} // namespace

QString LineEndOf(QStringView text)
{
    const auto end = std::find_if(text.begin(), text.end(), [](QChar c) { return c == u'\r' || c == u'\n'; });
    if (end == text.end() || *end == u'\n')
        return QStringLiteral("\n");
    return end + 1 != text.end() && end[1] == u'\n' ? QStringLiteral("\r\n") : QStringLiteral("\r");
}

QString WithLfLineEnds(QStringView text)
{
    QString lf = text.toString();
    lf.replace(QLatin1StringView("\r\n"), QLatin1StringView("\n"));
    lf.replace(u'\r', u'\n');
    return lf;
}

qsizetype PositionWithLineEnds(QStringView text, qsizetype lfPosition)
{
    qsizetype at = 0;
    for (qsizetype lf = 0; lf < lfPosition && at < text.size(); ++lf)
        at += text.sliced(at).startsWith(u"\r\n") ? 2 : 1;
    return at;
}

qsizetype TextChange::Moved(qsizetype position) const
{
    if (position >= start + removed)
        return position - removed + inserted.size();
    return position <= start ? position : qMin(position, start + inserted.size());
}

std::optional<TextChange> ChangeOfEdit(QStringView original, qsizetype start, QStringView edited)
{
    const QString lf = WithLfLineEnds(original);
    const qsizetype prefix = CommonPrefix(lf, edited);
    if (prefix == lf.size() && prefix == edited.size())
        return std::nullopt;
    const qsizetype suffix = CommonSuffix(lf, edited, qMin(lf.size(), edited.size()) - prefix);
    const qsizetype from = PositionWithLineEnds(original, prefix);
    const qsizetype to = PositionWithLineEnds(original, lf.size() - suffix);
    QString inserted = edited.sliced(prefix, edited.size() - suffix - prefix).toString();
    inserted.replace(u'\n', LineEndOf(original));
    return TextChange{start + from, to - from, inserted};
}

std::optional<qsizetype> FirstUnencodable(QStringView text, const TextEncoding &encoding)
{
    if (Encodes(text, encoding))
        return std::nullopt;
    // Rarely needed: then character by character, to name the one.
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype length = text.at(at).isHighSurrogate() && at + 1 < text.size() ? 2 : 1;
        if (!Encodes(text.sliced(at, length), encoding))
            return at;
        at += length;
    }
    return std::nullopt;
}

RewrittenBook RewriteBookBytes(const QByteArray &fileBytes, const TextEncoding &encoding, QStringView bookText,
                               const TextChange &change)
{
    if (change.start < 0 || change.removed < 0 || change.start + change.removed > bookText.size())
        return {{}, RewrittenBook::TextMismatch};
    const std::optional<qsizetype> from =
        OffsetAfter(fileBytes, TextStartIn(fileBytes, encoding), bookText.first(change.start), encoding);
    const std::optional<qsizetype> to =
        from ? OffsetAfter(fileBytes, *from, bookText.sliced(change.start, change.removed), encoding) : std::nullopt;
    if (!to)
        return {{}, RewrittenBook::TextMismatch};
    QStringEncoder encoder(encoding.Name());
    const QByteArray inserted = encoder.encode(change.inserted);
    if (encoder.hasError())
        return {{}, RewrittenBook::Unencodable};
    QByteArray bytes;
    bytes.reserve(fileBytes.size() - (*to - *from) + inserted.size());
    bytes.append(QByteArrayView(fileBytes).first(*from));
    bytes.append(inserted);
    bytes.append(QByteArrayView(fileBytes).sliced(*to));
    return {bytes, RewrittenBook::None};
}
